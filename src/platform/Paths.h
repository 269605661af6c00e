#pragma once
// Paths as the program writes them (Windows style, "\\server\VRIN\x" for a server's share,
// "C:\x" for fixed files) and where they lie on this machine.

#include <QString>

// Where the shares of other machines are mounted: VRIN_SHARE_ROOT, default /mnt.
QString ShareRoot();

// Maps a program path onto the local file system: "\\server\share\rest" becomes
// <share root>/server/share/rest, "C:\rest" becomes <temporary folder>/rest, backslashes
// become slashes. Other paths are returned with their backslashes turned into slashes.
QString LocalPath(const QString& path);

// The application directory with a trailing separator: VRIN_APPDIR when set, else the
// folder of the executable when it is writable, else a per-user data folder.
QString ApplicationDirectory();

// The folder of the running executable, without a trailing separator.
QString ExecutableDirectory();
