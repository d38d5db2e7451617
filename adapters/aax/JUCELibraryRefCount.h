// The GUI library shared by every AAX object of the plug-in: started when the
// first of them (a description call, an effect, a view) comes, shut down when
// the last goes, in whatever order they come and go.
#pragma once

namespace AAXClasses
{
class JUCELibraryRefCount
{
public:
    JUCELibraryRefCount();
    ~JUCELibraryRefCount();

    JUCELibraryRefCount(const JUCELibraryRefCount&) = delete;
    JUCELibraryRefCount& operator=(const JUCELibraryRefCount&) = delete;

    /** How many holders there are now. */
    static int getCount() noexcept;
};
} // namespace AAXClasses
