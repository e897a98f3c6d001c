// File names as the quiz source writes them: UTF-8, "/" or "\" between folders, relative to the
// source's own folder unless absolute.
#pragma once

#include <string>

bool IsAbsolutePath(const std::string& path);

// The folder part of a path, without its final separator; "" for a bare file name.
std::string DirectoryOf(const std::string& path);

// The extension of a file name, without its dot, in lower case for a to z: "jpg" for "Paris.JPG";
// "" for none.
std::string LowerExtension(const std::string& name);

// relative as seen from folder (unchanged when absolute or when folder is empty).
std::string ResolvePath(const std::string& folder, const std::string& relative);

// Whether a file name is one that extract gives the media it writes: "question-01.jpg",
// "reponse-12.mp3" (a question's number on two digits, any extension).
bool IsExtractedMediaName(const std::string& name);

// target as seen from folder, both absolute: "images", "../photos", "" for the folder itself;
// target unchanged when it lies on another drive. Components compare without regard to the case
// of a to z, as the file system does; the result uses "/".
std::string RelativePath(const std::string& folder, const std::string& target);
