// File URLs: a POSIX path and whether it names a directory.
#include "CFObject.h"

#include <string>

struct QvCFURL final : qvcf::Object
{
    static constexpr CFTypeID kTypeID = qvcf::kURLTypeID;

    QvCFURL(std::string p, bool d) : Object(kTypeID), path(std::move(p)), isDirectory(d) {}

    bool equals(const Object& other) const noexcept override
    {
        const auto& o = static_cast<const QvCFURL&>(other);
        return path == o.path && isDirectory == o.isDirectory;
    }

    CFHashCode hash() const noexcept override { return qvcf::hashBytes(path.data(), path.size()); }

    std::string path; // UTF-8
    bool isDirectory;
};

extern "C" {

CFTypeID CFURLGetTypeID(void)
{
    return QvCFURL::kTypeID;
}

// Any thread. Only the POSIX path style is known here.
CFURLRef CFURLCreateWithFileSystemPath(CFAllocatorRef, CFStringRef path, CFURLPathStyle style, Boolean isDirectory)
{
    const char* text = CFStringGetCStringPtr(path, kCFStringEncodingUTF8);
    if (text == nullptr || style != kCFURLPOSIXPathStyle)
        return nullptr;
    try
    {
        return qvcf::make<QvCFURL>(std::string(text), isDirectory != 0);
    }
    catch (...)
    {
        return nullptr;
    }
}

CFStringRef CFURLCopyFileSystemPath(CFURLRef url, CFURLPathStyle style)
{
    auto* u = qvcf::as<QvCFURL>(url);
    if (u == nullptr || style != kCFURLPOSIXPathStyle)
        return nullptr;
    return CFStringCreateWithCString(nullptr, u->path.c_str(), kCFStringEncodingUTF8);
}

} // extern "C"
