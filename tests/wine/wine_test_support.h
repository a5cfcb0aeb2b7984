// Small helpers shared by the Wine test programs.
#pragma once

#include <windows.h>
#include <string>

// A fresh file path in the temporary directory, unique per call.
std::string TempPath(const char* stem, const char* extension);
// Writes text to a file; true on success.
bool WriteTextFile(const std::string& path, const std::string& text);
// Reads a whole file; empty when missing.
std::string ReadTextFile(const std::string& path);
// Path of a file under tests/data as Wine sees it.
std::string TestDataPath(const char* name);
// Runs a program, collecting its standard output and error together. Returns
// its exit code, or -1 when it could not start or did not end in time.
int RunProgram(const std::string& commandLine, std::string* output, DWORD timeoutMs = 60000);
