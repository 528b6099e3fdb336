// A picture of the whole primary screen, written as PNG by the Windows Imaging Component.
#pragma once
#include <string>

// False with a reason in *error when the screen cannot be read or the file cannot be written.
bool SaveScreenshotPng(const std::string& path, std::string* error);
