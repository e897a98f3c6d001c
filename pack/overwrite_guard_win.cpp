#include "pack/overwrite_guard_win.h"

#include "pack/files_win.h"
#include "pack/paths.h"
#include "pack/resources_win.h"
#include "pack/wording.h"

namespace {

// The folder a path would be written into, as Windows will look for it.
std::string FolderOf(const std::string& path)
{
    const std::string folder = DirectoryOf(path);
    return folder.empty() ? "." : folder.back() == ':' ? folder + "\\" : folder;
}

} // namespace

bool CheckQuizOutput(const std::string& output, const std::vector<InputFile>& inputs, std::string* error)
{
    if (KindOf(FolderOf(output)) != PathKind::FOLDER) {
        *error = "le dossier " + DirectoryOf(output) +
                 " n'existe pas : aucun quiz n'a \xC3\xA9t\xC3\xA9 \xC3\xA9"
                 "crit";
        return false;
    }
    const PathKind kind = KindOf(output);
    if (kind == PathKind::MISSING)
        return true;
    if (kind == PathKind::FOLDER) {
        *error = output +
                 " est un dossier : donnez le nom du quiz \xC3\xA0 \xC3\xA9"
                 "crire, par exemple " +
                 ResolvePath(output, "MonQuiz.exe");
        return false;
    }
    for (const InputFile& input : inputs) {
        if (SameFile(output, input.path)) {
            *error = output + " est " + input.role +
                     " : zelbo-pack n'\xC3\xA9"
                     "crit pas le quiz par-dessus";
            return false;
        }
    }
    const std::string keep = " : zelbo-pack ne le remplace pas (choisissez un autre nom ou supprimez-le)";
    if (IsReadOnly(output)) {
        *error = output + " est en lecture seule" + keep;
        return false;
    }
    std::vector<ResourceEntry> resources;
    std::string notModule;
    if (!ReadModuleResources(output, &resources, &notModule)) {
        *error = output + " existe d\xC3\xA9j\xC3\xA0 et n'est pas un programme Windows" + keep;
        return false;
    }
    if (!IsPlayerImage(resources)) {
        *error = output + " existe d\xC3\xA9j\xC3\xA0 et n'est pas un quiz Zelbo" + keep;
        return false;
    }
    return true;
}

bool PrepareExtractFolder(const std::string& folder, const std::string& mediaFolder, bool force, std::string* error)
{
    const PathKind kind = KindOf(folder);
    if (kind == PathKind::FILE) {
        *error = folder + " est un fichier, pas un dossier";
        return false;
    }
    if (kind == PathKind::MISSING)
        return true;
    const std::string source = folder + "/quiz.toml";
    const std::string media = folder + "/" + mediaFolder;
    std::vector<std::string> earlier;
    for (const std::string& name : FilesIn(media))
        if (IsExtractedMediaName(name))
            earlier.push_back(name);
    const bool hasSource = KindOf(source) != PathKind::MISSING;
    if (!hasSource && earlier.empty())
        return true;
    if (!force) {
        std::string found = hasSource ? "quiz.toml" : "";
        if (!earlier.empty())
            found += (hasSource ? " et " : "") + Plural(earlier.size(), "fichier") + " dans " + mediaFolder;
        *error = folder + " contient d\xC3\xA9j\xC3\xA0 " + found +
                 " : rien n'a \xC3\xA9t\xC3\xA9 \xC3\xA9"
                 "crit (--force les remplace)";
        return false;
    }
    for (const std::string& name : earlier) {
        if (!RemoveFile(media + "/" + name)) {
            *error = "impossible de supprimer " + media + "/" + name + " (" + LastSystemError() + ")";
            return false;
        }
    }
    return true;
}
