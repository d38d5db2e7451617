#include "ComponentManager.h"

#include <map>
#include <mutex>

namespace
{
struct Book
{
    std::mutex lock;
    std::map<void*, AudioComponentDescription> descriptions;
    std::map<void*, Handle> storage;
};

Book& book()
{
    static Book b;
    return b;
}
} // namespace

extern "C" Handle GetComponentInstanceStorage(ComponentInstance instance)
{
    std::lock_guard<std::mutex> g(book().lock);
    auto it = book().storage.find(instance);
    return it != book().storage.end() ? it->second : nullptr;
}

extern "C" void SetComponentInstanceStorage(ComponentInstance instance, Handle storage)
{
    std::lock_guard<std::mutex> g(book().lock);
    book().storage[instance] = storage;
}

extern "C" OSErr GetComponentInfo(Component component, ComponentDescription* description, Handle, Handle, Handle)
{
    std::lock_guard<std::mutex> g(book().lock);
    auto it = book().descriptions.find(component);
    if (it == book().descriptions.end() || description == nullptr)
        return -50;
    *description = it->second;
    return 0;
}

void RememberComponentInstance(ComponentInstance instance, const AudioComponentDescription& description)
{
    std::lock_guard<std::mutex> g(book().lock);
    book().descriptions[instance] = description;
}

void ForgetComponentInstance(ComponentInstance instance)
{
    std::lock_guard<std::mutex> g(book().lock);
    book().descriptions.erase(instance);
    book().storage.erase(instance);
}
