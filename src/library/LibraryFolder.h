#pragma once

#include <QString>

namespace corvix {

// The folder every library instance works on: GenericDataLocation +
// "Tarnwell/Velmora Corvix for DeviceNet/lib/dev/", or CORVIX_LIBRARY_PATH when that is set.
// Always ends with "/".
QString DefaultLibraryPath();

// Where the files delivered with the program live (Vendown.inf, Profiles.inf, ICONS/): the
// "data" folder beside the executable unless another one was set (tests, odd installations).
QString LibrarySeedFolder();
void SetLibrarySeedFolder(const QString& folder);

// Copies the delivered index files and icons into libraryPath where they are missing, so a new
// library starts with vendor and profile names. Files already there are never replaced: the
// user may have edited them.
void SeedLibraryFolder(const QString& libraryPath, const QString& seedFolder);

// The file a library-relative text names ("ICONS\Profile12.ICO", "eds\90_12_3_1.ico"), found
// without regard to letter case as on the system the library comes from; empty when there is
// no such file.
QString FindLibraryFile(const QString& libraryPath, const QString& relativePath);

// The same for one file name inside folder.
QString FindFileIgnoringCase(const QString& folder, const QString& fileName);

}  // namespace corvix
