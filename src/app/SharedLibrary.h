#pragma once

#include <QString>

namespace corvix {

// A driver or tool library loaded by path (dlopen, LoadLibrary on Windows). The native handle is
// what the contract hands around as a "module handle". Unloads when destroyed.
class SharedLibrary {
public:
    SharedLibrary() = default;
    explicit SharedLibrary(const QString& path) { load(path); }
    ~SharedLibrary();
    SharedLibrary(SharedLibrary&& other) noexcept;
    SharedLibrary& operator=(SharedLibrary&& other) noexcept;
    SharedLibrary(const SharedLibrary&) = delete;
    SharedLibrary& operator=(const SharedLibrary&) = delete;

    bool load(const QString& path);
    void unload();
    // Lets go of the library without unloading it: it stays in the process until the end.
    void keepLoaded() { handle_ = nullptr; }
    bool isLoaded() const { return handle_ != nullptr; }
    const QString& path() const { return path_; }
    QString errorString() const { return error_; }
    void* nativeHandle() const { return handle_; }

    // The export's address, or nullptr when the library lacks it.
    void* symbol(const char* name) const;
    template <typename FunctionPointer>
    FunctionPointer function(const char* name) const
    {
        return reinterpret_cast<FunctionPointer>(symbol(name));
    }

    // Looks an export up in a library that someone else loaded (a tool is handed the driver's).
    static void* symbolOf(void* nativeHandle, const char* name);

    // "*.so" here, "*.dll" on Windows: what FindFiles looks for in Drivers/ and Tools/.
    static QString fileMask();

private:
    void* handle_ = nullptr;
    QString path_;
    QString error_;
};

}  // namespace corvix
