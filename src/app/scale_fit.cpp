#include "app/scale_fit.h"

#include <QImageReader>
#include <QBuffer>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>
#include <vector>
#include <unistd.h>

#include "resources/drive_map.h"
#include "resources/read_bin.h"
#include "resources/screen_model.h"
#include "resources/struct_loader.h"

namespace vitrina {

double FittingScale(double factor, QSize window, QSize available) {
    if (factor <= 1 || window.isEmpty() || available.isEmpty()) return factor;
    const double fit = factor * std::min(double(available.width()) / window.width(),
                                         double(available.height()) / window.height());
    return std::clamp(std::floor(fit * 4) / 4, 1.0, factor);
}

QSize DiscWindowSize(const TDriveMap& drives) {
    TReadBin container;
    TDynamicStringArray lines;
    if (ReadStructLines(drives, container, lines, nullptr) != TStructLoad::Loaded) return {};
    TScreenModel model(drives.ProgramFolder());
    model.ReadHeader(lines);
    model.ReadSections(lines);
    std::string picture;
    if (model.ScreenPictures.empty() || container.ReadBuffer(model.ScreenPictures[0], picture) < 0) return {};
    QByteArray bytes = QByteArray::fromStdString(picture);
    QBuffer buffer(&bytes);
    return QImageReader(&buffer).size();
}

void RestartWithScale(std::vector<std::string> args, double factor) {
    char text[32] = {};
    std::to_chars(text, text + sizeof text - 1, factor);
    const std::string value = text, joined = "--scale=" + value;
    for (std::size_t i = 1; i < args.size() && args[i] != "--"; ++i) {
        if (args[i] == "--scale" && i + 1 < args.size()) args[++i] = value;
        else if (std::string_view(args[i]).starts_with("--scale=")) args[i] = joined;
    }
    std::vector<char*> pointers;
    for (std::string& a : args) pointers.push_back(a.data());
    pointers.push_back(nullptr);
    ::execv("/proc/self/exe", pointers.data());
}

}  // namespace vitrina
