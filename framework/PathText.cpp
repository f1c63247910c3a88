// Path text: trimming what was typed, and resolving "." and ".." without asking the file system.
#include "framework/PathText.h"
#include <algorithm>
#include <vector>

namespace
{
bool IsBlank(char ch)
{
    return ch == ' ' || ch == '\t';
}

std::string Trimmed(const std::string& text)
{
    size_t first = 0;
    size_t end = text.size();
    while (first < end && IsBlank(text[first]))
        ++first;
    while (end > first && IsBlank(text[end - 1]))
        --end;
    return text.substr(first, end - first);
}

bool IsAsciiLetter(char ch)
{
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

bool IsSeparator(char ch)
{
    return ch == '\\' || ch == '/';
}

bool IsDrive(const std::string& path, size_t at)
{
    return path.size() >= at + 2 && IsAsciiLetter(path[at]) && path[at + 1] == ':';
}

std::string AsciiUpper(std::string text)
{
    for (char& ch : text)
    {
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
    }
    return text;
}

// As the system reads a name: the part before the first dot, spaces at its end left out.
bool IsDeviceName(const std::string& name)
{
    std::string base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.pop_back();
    base = AsciiUpper(base);
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL")
        return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '1' &&
           base[3] <= '9';
}
}  // namespace

std::string CleanTypedPath(const std::string& typed)
{
    std::string path = Trimmed(typed);
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        path = Trimmed(path.substr(1, path.size() - 2));
    return path;
}

size_t AbsoluteRootLength(const std::string& path)
{
    if (IsDrive(path, 0) && path.size() >= 3 && IsSeparator(path[2]))
        return 3;
    if (path.size() < 2 || !IsSeparator(path[0]) || !IsSeparator(path[1]))
        return 0;
    const size_t serverEnd = std::find_if(path.begin() + 2, path.end(), IsSeparator) - path.begin();
    const std::string server = path.substr(2, serverEnd - 2);
    if (server.empty() || server == "." || server == "?" || serverEnd == path.size())
        return 0;
    const size_t shareEnd = std::find_if(path.begin() + serverEnd + 1, path.end(), IsSeparator) - path.begin();
    if (shareEnd == serverEnd + 1)
        return 0;
    return shareEnd == path.size() ? shareEnd : shareEnd + 1;
}

bool NormaliseAbsolutePath(const std::string& path, std::string& normal)
{
    // Typed alone, a drive means its root, not the current folder the system keeps for it unseen.
    std::string text = IsDrive(path, 0) && path.size() == 2 ? path + '\\' : path;
    const size_t rootLength = AbsoluteRootLength(text);
    if (rootLength == 0)
        return false;
    std::replace(text.begin(), text.end(), '/', '\\');
    std::string result = text.substr(0, rootLength);
    if (result.back() != '\\')
        result += '\\';
    std::vector<std::string> names;
    for (size_t start = rootLength; start < text.size();)
    {
        size_t end = text.find('\\', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string name = text.substr(start, end - start);
        if (name == "..")
        {
            if (!names.empty())
                names.pop_back();
        }
        else if (!name.empty() && name != ".")
        {
            names.push_back(name);
        }
        start = end + 1;
    }
    for (size_t i = 0; i < names.size(); ++i)
        result += (i > 0 ? "\\" : "") + names[i];
    normal = result;
    return true;
}

std::string WithoutDevicePrefix(const std::string& path)
{
    if (path.size() < 4 || !IsSeparator(path[0]) || !IsSeparator(path[1]) || (path[2] != '?' && path[2] != '.') ||
        !IsSeparator(path[3]))
        return path;
    if (IsDrive(path, 4) && path.size() >= 7 && IsSeparator(path[6]))
        return path.substr(4);
    if (path.size() >= 8 && AsciiUpper(path.substr(4, 3)) == "UNC" && IsSeparator(path[7]))
        return "\\\\" + path.substr(8);
    return path;
}

bool HasNameOnlyExtendedPathsReach(const std::string& normal)
{
    for (size_t start = AbsoluteRootLength(normal); start < normal.size();)
    {
        size_t end = normal.find('\\', start);
        if (end == std::string::npos)
            end = normal.size();
        const std::string name = normal.substr(start, end - start);
        if (!name.empty() && (name.back() == '.' || name.back() == ' ' || IsDeviceName(name)))
            return true;
        start = end + 1;
    }
    return false;
}
