#pragma once

#include "library/TFieldbusLibAbstract.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

namespace corvix {

class EdsWizardLog;
class LibraryTreeModel;
class TDeviceNetDevice;
class TDeviceNetWork;

// Whether stem ("eds\\90_12_3_1.") names a file inside the library's "eds" folder, with no
// "." or ".." step that could lead out of it.
bool IsInstalledFileStem(const QString& stem);

// The DeviceNet EDS library: installed EDS files in normalised form under "eds/" named by their
// identity key, the index Library.inf, the vendor and profile names Vendown.inf and
// Profiles.inf, and the icons. Nothing is cached: every call reads the folder again.
class TDeviceNetLib : public TFieldbusLibAbstract {
    Q_OBJECT

public:
    // Works on libraryPath (DefaultLibraryPath() unless given), creating it and seeding it with
    // the delivered vendor and profile lists and icons where they are missing.
    explicit TDeviceNetLib(QObject* owner, UserPrompt* prompt = nullptr,
                           const QString& libraryPath = {});

    // Where refusal reasons and install results go; nullptr drops them.
    void SetWizardLog(EdsWizardLog* log) { wizardLog_ = log; }

    // Rebuilds Library.inf from the files under "eds/", sorted, then emits LibraryRebuilt.
    // Raises ConversionError (naming the file) when a file's revision is missing or no
    // integer; Library.inf then keeps its old contents.
    void RebuildLibrary() override;

    // Normalises, checks and stores one EDS file under its key; reasons for a refusal go to
    // the wizard log. Asks before replacing an installed file. The index is not touched.
    bool InstallEdsFile(const QString& fileName) override;

    // Installs each file in turn and logs "Successfully installed: " or "Failed to install: "
    // with its name after it; returns how many were stored. The caller rebuilds afterwards.
    int InstallEdsFiles(const QStringList& fileNames);

    // (Re)builds model from the index files, rebuilding a missing or empty Library.inf first.
    void FillLibraryTree(LibraryTreeModel& model);

    // Deletes the EDS file and icon of a device node, given the node's data texts
    // ("eds\90_12_3_1.", ...). The caller rebuilds and refills. False when nothing was removed.
    bool RemoveLibraryDevice(const QStringList& nodeData);

    // The normalised text of an installed file, by its library-relative name ("eds\\1_7_2_1.eds").
    // Raises FileError when it cannot be read.
    QByteArray ReadInstalledEds(const QString& relativePath) const;

    // A new device built from an installed EDS file, as a network places or loads it.
    std::unique_ptr<TDeviceNetDevice> CreateDeviceFromEdsFile(TDeviceNetWork* owner, int macId,
                                                              const QString& relativePath) const;

private:
    void log(const QString& line) const;
    bool installNormalised(const QString& fileName, const QByteArray& text);
    void storeIcon(const QString& sourceFile, const QByteArray& text, const QString& key) const;

    EdsWizardLog* wizardLog_ = nullptr;
};

}  // namespace corvix
