#pragma once
// The smallest disc a program starts on, for tests about something other than the description:
// one screen, a background picture and one button that runs "caseon".
#include <string>
#include <string_view>
#include <vector>

#include "resources/container_writer.h"
#include "support/image_bytes.h"

namespace vitrina::test {

// The description (UTF-8) titled title; head holds lines that belong before the first screen.
// Lines added after it describe more of screen 1 or the screens that follow.
inline std::string MinimalDescription(std::string_view title, std::string_view head = {}) {
    return "title=" + std::string(title) + "\n" + std::string(head) +
           "button 1\nvx=10\nvy=10\nfn1=b.bmp\nfn2=b.bmp\nfn3=b.bmp\ngo=caseon\nhint=x\nwav=no\n_screen=bg1.bmp\n";
}

// Its pictures, a white background of width x height and a red button of 10 x 10, and more.
inline std::vector<TContainerEntry> MinimalPictures(int width = 100, int height = 80,
                                                    std::vector<TContainerEntry> more = {}) {
    more.insert(more.begin(), {{"bg1.bmp", Bmp(width, height, Qt::white)}, {"b.bmp", Bmp(10, 10, Qt::red)}});
    return more;
}

}  // namespace vitrina::test
