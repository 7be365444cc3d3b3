#pragma once
// The first steps of start-up: the container beside the program and its screen description.
#include <string>

#include "resources/dynamic_arrays.h"

namespace vitrina {

class TDriveMap;
class TReadBin;

enum class TStructLoad { Loaded, NoContainer, MalformedContainer, NoDescription };

// Opens ProgramFolder + "Vuv.dhl" (Loaded when it opened). error says what went wrong, for a
// person at a terminal.
TStructLoad OpenDiscContainer(const TDriveMap& drives, TReadBin& container, std::string* error = nullptr);

// Opens the container and decodes the screen description name ("Struct.cfs", or "Tesaurus.cfs"
// for the thesaurus window), lower-cased, into lines. error says what went wrong, for a person
// at a terminal.
TStructLoad ReadStructLines(const TDriveMap& drives, TReadBin& container, TDynamicStringArray& lines,
                            std::string* error = nullptr, const std::string& name = "Struct.cfs");

}  // namespace vitrina
