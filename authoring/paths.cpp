#include "authoring/paths.h"

#include <cctype>
#include <vector>

namespace {

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

std::vector<std::string> Components(const std::string& path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || IsSeparator(path[i])) {
            if (i > start)
                parts.push_back(path.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

bool SameComponent(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const char x = a[i] >= 'A' && a[i] <= 'Z' ? static_cast<char>(a[i] - 'A' + 'a') : a[i];
        const char y = b[i] >= 'A' && b[i] <= 'Z' ? static_cast<char>(b[i] - 'A' + 'a') : b[i];
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

bool IsAbsolutePath(const std::string& path)
{
    if (!path.empty() && IsSeparator(path[0]))
        return true;
    const bool hasDrive = path.size() >= 2 && path[1] == ':' &&
                          ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return hasDrive;
}

std::string DirectoryOf(const std::string& path)
{
    const size_t last = path.find_last_of("/\\");
    if (last == std::string::npos)
        return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : std::string();
    return last == 0 ? path.substr(0, 1) : path.substr(0, last);
}

std::string LowerExtension(const std::string& name)
{
    const size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || name.find_first_of("/\\", dot) != std::string::npos)
        return {};
    std::string extension = name.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return extension;
}

std::string ResolvePath(const std::string& folder, const std::string& relative)
{
    if (folder.empty() || IsAbsolutePath(relative))
        return relative;
    if (IsSeparator(folder.back()) || folder.back() == ':')
        return folder + relative;
    return folder + "/" + relative;
}

bool IsExtractedMediaName(const std::string& name)
{
    auto isDigit = [&](size_t i) { return i < name.size() && std::isdigit(static_cast<unsigned char>(name[i])); };
    for (const std::string prefix : {"question-", "reponse-"}) {
        const size_t n = prefix.size();
        if (name.compare(0, n, prefix) == 0 && isDigit(n) && isDigit(n + 1) &&
            (name.size() == n + 2 || name[n + 2] == '.'))
            return true;
    }
    return false;
}

std::string RelativePath(const std::string& folder, const std::string& target)
{
    const std::vector<std::string> from = Components(folder);
    const std::vector<std::string> to = Components(target);
    if (from.empty() || to.empty() || !SameComponent(from[0], to[0]))
        return target;
    size_t common = 0;
    while (common < from.size() && common < to.size() && SameComponent(from[common], to[common]))
        ++common;
    std::string relative;
    for (size_t i = common; i < from.size(); ++i)
        relative += relative.empty() ? ".." : "/..";
    for (size_t i = common; i < to.size(); ++i)
        relative += (relative.empty() ? "" : "/") + to[i];
    return relative;
}
