// Paths as text: what the user typed made into a path, and the normal form of an absolute path.
#pragma once
#include <string>

// Without the spaces around it and one pair of double quotes around that, as a file manager copies
// a path: ` "C:\Фото" ` is C:\Фото.
std::string CleanTypedPath(const std::string& typed);

// The length of an absolute path's root, "C:\" or "\\server\share\" (with its final backslash, or
// the whole path when it ends there); 0 when the path is not absolute: relative, a drive without a
// backslash ("C:x" is relative to that drive's current folder), or the device namespaces \\.\ and \\?\.
size_t AbsoluteRootLength(const std::string& path);

// The absolute path with '/' read as '\', "." and ".." resolved, and repeated backslashes as one; a
// ".." at the root stays at the root, as the system's own resolution does. A drive alone ("C:") is its
// root. The result ends in a backslash only when it is a root. FALSE, and nothing written, when the
// path is not absolute.
bool NormaliseAbsolutePath(const std::string& path, std::string& normal);

// The path without the device namespace before a drive or a share: \\?\D:\x and \\.\D:\x are D:\x,
// \\?\UNC\server\share\x is \\server\share\x. Any other text comes back as it is.
std::string WithoutDevicePrefix(const std::string& path);

// TRUE when a name below the root of the normal path is one that Windows programs, which do not use
// the extended-length form, cannot open or delete: it ends in a dot or a space, or it is a device
// (CON, PRN, AUX, NUL, COM1 to COM9, LPT1 to LPT9, in any case, with or without an extension).
bool HasNameOnlyExtendedPathsReach(const std::string& normal);
