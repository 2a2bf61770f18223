#pragma once

#include <QString>
#include <QStringList>

namespace corvix {

// File attribute bits as callers name them; only "hidden" changes what is found on this
// platform (dot files and hidden entries are left out unless it is given).
enum FileAttribute : unsigned {
    faReadOnly = 0x01,
    faHidden = 0x02,
    faSysFile = 0x04,
    faArchive = 0x20,
    faAnyFile = faReadOnly | faHidden | faSysFile | faArchive,  // 39, what the program asks for
};

// Full paths of the files matching maskPath's mask ("…/Drivers/*.so"), first those of its
// folder (sorted by name), then recursively those of each subfolder. Masks ignore letter case,
// as they do for the files the program's predecessor shipped. Backslashes count as separators.
QStringList FindFiles(const QString& maskPath, unsigned attributes);

// Creates folder and any missing parents; true when it exists afterwards. Raises FileError
// "A directory could not be created as needed!" for an empty path.
bool ForceFolder(const QString& folder);

}  // namespace corvix
