#pragma once
// The one line both programs print for a command line QCommandLineParser refused.
#include <QStringList>

#include <string>

class QCommandLineParser;

namespace vitrina {

// "--disc needs a value" when a value option ends the line; the parser's own words otherwise.
// arguments: what was handed to QCommandLineParser::parse.
std::string CommandLineMessage(const QCommandLineParser& parser, const QStringList& arguments);

}  // namespace vitrina
