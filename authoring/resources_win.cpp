#include "authoring/resources_win.h"

#include <cstdio>
#include <cstring>
#include <utility>

#include "authoring/files_win.h"
#include "authoring/media_format.h"
#include "platform/win_raii.h"
#include "resource.h"

namespace {

struct UpdateHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    // Abandons the update: the file keeps what it held before BeginUpdateResource.
    static void Release(HANDLE update) { EndUpdateResourceW(update, TRUE); }
};
using UniqueResourceUpdate = UniqueHandle<HANDLE, UpdateHandleTraits>;

HeldFileCalls g_heldFileCalls = {BeginUpdateResourceW, EndUpdateResourceW, MoveFileExW, Sleep};

struct Enumeration {
    HMODULE module;
    std::vector<ResourceEntry>* resources;
    ResourceKey type;
    ResourceKey name;
};

BOOL CALLBACK OnResourceLanguage(HMODULE module, LPCWSTR, LPCWSTR, WORD language, LONG_PTR context)
{
    auto* enumeration = reinterpret_cast<Enumeration*>(context);
    ResourceEntry entry;
    entry.type = enumeration->type;
    entry.name = enumeration->name;
    entry.language = language;
    HRSRC found = FindResourceExW(module, entry.type.Pointer(), entry.name.Pointer(), language);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (data)
        entry.bytes.assign(static_cast<const char*>(data), SizeofResource(module, found));
    enumeration->resources->push_back(std::move(entry));
    return TRUE;
}

BOOL CALLBACK OnResourceName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR context)
{
    auto* enumeration = reinterpret_cast<Enumeration*>(context);
    enumeration->name = ResourceKey::FromPointer(name);
    EnumResourceLanguagesW(module, type, name, OnResourceLanguage, context);
    return TRUE;
}

BOOL CALLBACK OnResourceType(HMODULE module, LPWSTR type, LONG_PTR context)
{
    auto* enumeration = reinterpret_cast<Enumeration*>(context);
    enumeration->type = ResourceKey::FromPointer(type);
    EnumResourceNamesW(module, type, OnResourceName, context);
    return TRUE;
}

// Windows takes "/" in most paths, but not always in a module's name; and a name without an
// extension gets ".dll" added unless it ends with a dot.
std::wstring ModulePath(const std::filesystem::path& path)
{
    std::wstring result = FullPath(path).native();
    const size_t name = result.find_last_of(L"\\/");
    if (result.find(L'.', name == std::wstring::npos ? 0 : name) == std::wstring::npos)
        result += L'.';
    return result;
}

// The steps a held file stops fail with one of these: another program has it open without sharing
// it, or is running it.
bool IsHeld(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED ||
           error == ERROR_USER_MAPPED_FILE;
}

// Calls attempt (which returns 0 or a system error) until it succeeds or fails for another reason
// than a held file, waiting between tries 0.1 s, then twice as long each time: 3.1 s in all.
template <typename Attempt> DWORD WhileHeld(Attempt attempt)
{
    constexpr int TRIES = 6;
    DWORD wait = 100;
    for (int tried = 1;; ++tried, wait *= 2) {
        const DWORD error = attempt();
        if (error == 0 || !IsHeld(error) || tried == TRIES)
            return error;
        g_heldFileCalls.sleep(wait);
    }
}

std::string HeldFile(const std::filesystem::path& path)
{
    return "le fichier " + path.u8string() +
           " reste ouvert dans un autre programme (le quiz, s'il est lancé, ou un antivirus qui l'examine) : fermez le "
           "quiz s'il est ouvert, puis recommencez";
}

// What failed, then why: a held file named, or the system's reason.
std::string Failure(const std::string& failed, DWORD error, const std::filesystem::path& path)
{
    return failed + (IsHeld(error) ? " : " + HeldFile(path) : " (" + SystemErrorText(error) + ")");
}

// One try at giving the file exactly these resources: 0, or the system's error with what failed.
DWORD TryUpdateResources(const std::filesystem::path& path, const std::vector<ResourceEntry>& resources,
                         std::string* failed)
{
    // Starting from an empty table is the only reliable way to drop resources: entries deleted one
    // by one come back when the update ends.
    UniqueResourceUpdate update(g_heldFileCalls.beginUpdate(path.c_str(), TRUE));
    if (!update) {
        const DWORD error = GetLastError();
        *failed = "impossible d'ouvrir la copie du lecteur";
        return error;
    }
    for (const ResourceEntry& entry : resources) {
        if (!UpdateResourceW(update.Get(), entry.type.Pointer(), entry.name.Pointer(), entry.language,
                             const_cast<char*>(entry.bytes.data()), static_cast<DWORD>(entry.bytes.size()))) {
            const DWORD error = GetLastError();
            *failed = "impossible d'ajouter la ressource " + entry.type.Describe() + " " + entry.name.Describe();
            return error;
        }
    }
    if (!g_heldFileCalls.endUpdate(update.Detach(), FALSE)) {
        const DWORD error = GetLastError();
        *failed = "impossible d'écrire les ressources";
        return error;
    }
    return 0;
}

bool UpdateResources(const std::filesystem::path& path, const std::vector<ResourceEntry>& resources, std::string* error)
{
    std::string failed;
    const DWORD result = WhileHeld([&] { return TryUpdateResources(path, resources, &failed); });
    if (result != 0)
        *error = Failure(failed, result, path);
    return result == 0;
}

// The player's bytes in a new file beside output, named as GetTempFileName names its files but
// without its limit of 260 characters.
bool WriteCopyBeside(const std::filesystem::path& output, const std::string& bytes, std::filesystem::path* copy)
{
    const std::filesystem::path folder = output.has_parent_path() ? output.parent_path() : ".";
    DWORD number = GetTickCount();
    for (int tried = 0; tried < 0x10000; ++tried, ++number) {
        wchar_t name[16];
        swprintf(name, std::size(name), L"zpk%X.tmp", static_cast<unsigned>(number & 0xFFFF));
        *copy = folder / name;
        if (WriteWholeFile(*copy, bytes, false))
            return true;
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS) {
            DeleteFileW(copy->c_str()); // made, but not written whole
            SetLastError(error);
            return false;
        }
    }
    return false;
}

bool VerifyResources(const std::filesystem::path& path, const std::vector<ResourceEntry>& resources, std::string* error)
{
    std::vector<ResourceEntry> written;
    if (!ReadModuleResources(path, &written, error)) {
        *error = "le quiz écrit ne se charge pas : " + *error;
        return false;
    }
    if (written.size() != resources.size()) {
        *error = "le quiz écrit contient " + std::to_string(written.size()) + " ressources au lieu de " +
                 std::to_string(resources.size());
        return false;
    }
    UniqueModule module(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    for (const ResourceEntry& entry : resources) {
        HRSRC found = module ? FindResourceExW(module.Get(), entry.type.Pointer(), entry.name.Pointer(), entry.language)
                             : nullptr;
        HGLOBAL loaded = found ? LoadResource(module.Get(), found) : nullptr;
        const void* data = loaded ? LockResource(loaded) : nullptr;
        if (!data || SizeofResource(module.Get(), found) != entry.bytes.size() ||
            std::memcmp(data, entry.bytes.data(), entry.bytes.size()) != 0) {
            *error = "la ressource " + entry.type.Describe() + " " + entry.name.Describe() +
                     " ne se relit pas à l'identique dans le quiz écrit";
            return false;
        }
    }
    return true;
}

} // namespace

bool IsPlayerImage(const std::vector<ResourceEntry>& resources)
{
    constexpr WORD DIALOG_TYPE = 5, VERSION_TYPE = 16, VERSION_ID = 1;
    auto has = [&](WORD type, WORD id) {
        for (const ResourceEntry& entry : resources)
            if (entry.type.text.empty() && entry.type.id == type && entry.name.text.empty() && entry.name.id == id)
                return true;
        return false;
    };
    return has(DIALOG_TYPE, IDD_QUESTION_BOARD) && has(DIALOG_TYPE, IDD_HEADER_PANEL) && has(VERSION_TYPE, VERSION_ID);
}

ResourceKey ResourceKey::FromPointer(LPCWSTR pointer)
{
    ResourceKey key;
    if (IS_INTRESOURCE(pointer))
        key.id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(pointer));
    else
        key.text = pointer;
    return key;
}

bool ResourceKey::IsType(const wchar_t* name) const
{
    return !text.empty() && lstrcmpiW(text.c_str(), name) == 0;
}

std::string ResourceKey::Describe() const
{
    return text.empty() ? std::to_string(id) : WideToUtf8(text);
}

bool ReadModuleResources(const std::filesystem::path& path, std::vector<ResourceEntry>* resources, std::string* error)
{
    std::string bytes;
    if (!ReadWholeFile(path, &bytes)) {
        *error = ReadFailure(path);
        return false;
    }
    const bool isImage = bytes.compare(0, 2, "MZ") == 0;
    UniqueModule module(isImage ? LoadLibraryExW(ModulePath(path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)
                                : nullptr);
    if (!module) {
        *error = path.u8string() + " n'est pas un programme Windows" + (isImage ? " (" + LastSystemError() + ")" : "");
        return false;
    }
    resources->clear();
    Enumeration enumeration{module.Get(), resources, {}, {}};
    EnumResourceTypesW(module.Get(), OnResourceType, reinterpret_cast<LONG_PTR>(&enumeration));
    return true;
}

HeldFileCalls SetHeldFileCalls(const HeldFileCalls& calls)
{
    return std::exchange(g_heldFileCalls, calls);
}

bool WriteQuizExecutable(std::string player, const std::vector<ResourceEntry>& resources,
                         const std::filesystem::path& output, std::string* error)
{
    if (!ClearCoffSymbolTable(player)) {
        *error = "le lecteur n'est pas un programme Windows (en-tête PE introuvable)";
        return false;
    }
    std::filesystem::path copy;
    if (!WriteCopyBeside(output, player, &copy)) {
        *error = "impossible d'écrire dans le dossier de " + output.u8string() + " (" + LastSystemError() + ")";
        return false;
    }
    bool ok = UpdateResources(copy, resources, error) && VerifyResources(copy, resources, error);
    if (ok) {
        const DWORD moved = WhileHeld([&] {
            return g_heldFileCalls.move(copy.c_str(), output.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : GetLastError();
        });
        if (moved != 0)
            *error = Failure("impossible de remplacer " + output.u8string(), moved, output);
        ok = moved == 0;
    }
    if (!ok)
        DeleteFileW(copy.c_str());
    return ok;
}
