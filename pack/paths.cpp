#include "pack/paths.h"

#include <cctype>

namespace {

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
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
