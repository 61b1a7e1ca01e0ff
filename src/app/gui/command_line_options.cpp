#include "app/gui/command_line_options.h"

#include <QFile>

#include <cstdio>
#include <string>
#include <vector>

#include "app/capture_argument.h"

namespace kestrum {

QStringList TakeProgramOptions(const QStringList& arguments, CaptureFileState& captureFile) {
    // File names in the system's own encoding.
    std::vector<std::string> list;
    for (const QString& argument : arguments) list.push_back(QFile::encodeName(argument).toStdString());
    const CaptureArgument capture = TakeCaptureArgument(list);
    if (!capture.Problem.empty()) std::fprintf(stderr, "%s\n", capture.Problem.c_str());
    if (!capture.Path.empty()) {
        captureFile.CommandLinePath = capture.Path;
        captureFile.CommandLinePathWritten = false;
    }
    QStringList rest;
    for (const std::string& argument : list) rest << QFile::decodeName(QByteArray::fromStdString(argument));
    return rest;
}

}  // namespace kestrum
