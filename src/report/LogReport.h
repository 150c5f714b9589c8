// The translation report written beside the target: "<target>.Rep".
//
// One log at a time: BeginLog opens it on a temporary file, the translator
// adds plain, error and warning lines, EndLog closes it, moves it into place
// and shows the status dialog when errors or warnings were logged.
#pragma once

#include <string>

namespace report {

void BeginLog(const std::string& targetFileName);
void LogLine(const std::string& line);
void LogError(const std::string& message);
void LogWarning(const std::string& message);
void EndLog();

// Opens the report in the host: shows it when it is open already (moving a
// text editor's cursor to its top), otherwise opens it as a document.
void OpenReport(const std::string& fileName);

// The name of the report beside a target: the target with the extension Rep.
std::string ReportFileNameFor(const std::string& targetFileName);

// The report's final name, and whether errors or warnings were logged.
const std::string& ReportFileName();
bool ErrorLogged();
bool WarningLogged();

}  // namespace report
