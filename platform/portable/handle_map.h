// The one locked map behind every registry of live handles: kernel objects,
// windows, GL contexts and surfaces, registry keys and GDI objects. An entry
// is found, visited and released under the map's own lock, so no thread
// releases what another is looking at. The registries make their map once
// and never destroy it: threads still close handles while the process runs
// its static destructors.
#ifndef PLATFORM_PORTABLE_HANDLE_MAP_H
#define PLATFORM_PORTABLE_HANDLE_MAP_H

#include <mutex>
#include <new>
#include <unordered_map>
#include <utility>

#include "handle_numbers.h"

template <class Handle, class Entry>
class PortableHandleMap {
public:
    // Registers the entry under a new number; null when out of memory.
    Handle Add(Entry entry)
    {
        std::lock_guard<std::mutex> hold(lock_);
        return AddLocked(std::move(entry));
    }

    // Registers the entry under a handle numbered elsewhere; false when the
    // handle has an entry already or memory is out.
    bool Insert(Handle handle, Entry entry)
    {
        std::lock_guard<std::mutex> hold(lock_);
        return InsertLocked(handle, std::move(entry));
    }

    // Runs visit on the handle's entry with the map locked; false when there is none.
    template <class Visitor>
    bool Visit(Handle handle, Visitor &&visit)
    {
        std::lock_guard<std::mutex> hold(lock_);
        Entry *found = FindLocked(handle);
        if (found)
            visit(*found);
        return found != nullptr;
    }

    // Runs visit on every entry, as visit(handle, entry), with the map locked.
    template <class Visitor>
    void VisitAll(Visitor &&visit)
    {
        std::lock_guard<std::mutex> hold(lock_);
        for (auto &each : live_)
            visit(each.first, each.second);
    }

    // Unregisters the entry and hands it back through gone, so that the
    // caller ends it outside the lock; false when there is none.
    bool Release(Handle handle, Entry *gone = nullptr)
    {
        std::lock_guard<std::mutex> hold(lock_);
        auto found = live_.find(handle);
        if (found == live_.end())
            return false;
        if (gone)
            *gone = std::move(found->second);
        live_.erase(found);
        return true;
    }

    // For a registry that holds the lock across several steps.
    std::mutex &Lock() { return lock_; }

    Entry *FindLocked(Handle handle)
    {
        auto found = live_.find(handle);
        return found == live_.end() ? nullptr : &found->second;
    }

    Handle AddLocked(Entry entry)
    {
        const Handle handle = PortableNewHandle<Handle>();
        return InsertLocked(handle, std::move(entry)) ? handle : Handle{};
    }

    bool InsertLocked(Handle handle, Entry entry)
    {
        try {
            return live_.emplace(handle, std::move(entry)).second;
        } catch (const std::bad_alloc &) {
            return false;
        }
    }

    bool EraseLocked(Handle handle) { return live_.erase(handle) != 0; }

private:
    std::mutex lock_;
    std::unordered_map<Handle, Entry> live_;
};

#endif
