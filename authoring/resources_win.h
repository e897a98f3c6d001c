// Reading every resource of an executable and writing a copy of the player that carries a new set.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

// A resource type or name: a number or a text, as the resource table keeps them.
struct ResourceKey {
    WORD id = 0;
    std::wstring text; // used when not empty

    static ResourceKey FromPointer(LPCWSTR pointer);
    LPCWSTR Pointer() const { return text.empty() ? MAKEINTRESOURCEW(id) : text.c_str(); }
    bool IsType(const wchar_t* name) const; // a text type of that name, compared without case
    std::string Describe() const;           // "104" or "PATCH"
};

struct ResourceEntry {
    ResourceKey type;
    ResourceKey name;
    WORD language = 0;
    std::string bytes;
};

// Every resource of a module file, loaded as data. False with a French message when the file cannot
// be read or is no module Windows can load.
bool ReadModuleResources(const std::filesystem::path& path, std::vector<ResourceEntry>* resources, std::string* error);

// Whether the resources are a player's (or a quiz's, which is a player that carries a quiz): its
// two dialog templates and its version record.
bool IsPlayerImage(const std::vector<ResourceEntry>& resources);

// Writes player (its bytes) with exactly these resources to a temporary file beside output, loads
// the result back as data and compares every resource, then replaces output with it. Nothing is
// left behind on failure: output is untouched and the temporary file deleted. Antivirus software
// and Windows' own protection hold a new executable for a moment, and a quiz still running holds
// its file: the steps they stop are tried again for a few seconds before the message names the
// file held.
bool WriteQuizExecutable(std::string player, const std::vector<ResourceEntry>& resources,
                         const std::filesystem::path& output, std::string* error);

// The calls that another program can stop for a while, and the wait between tries: tests make
// them fail a given number of times, and spare the waiting. Returns the calls replaced.
struct HeldFileCalls {
    HANDLE(WINAPI* beginUpdate)(LPCWSTR file, BOOL deleteExisting);
    BOOL(WINAPI* endUpdate)(HANDLE update, BOOL discard);
    BOOL(WINAPI* move)(LPCWSTR from, LPCWSTR to, DWORD flags);
    void(WINAPI* sleep)(DWORD milliseconds);
};
HeldFileCalls SetHeldFileCalls(const HeldFileCalls& calls);
