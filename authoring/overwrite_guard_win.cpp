#include "authoring/overwrite_guard_win.h"

#include "authoring/files_win.h"
#include "authoring/paths.h"
#include "authoring/resources_win.h"
#include "authoring/wording.h"

namespace {

// The folder a path would be written into, as Windows will look for it.
std::filesystem::path FolderOf(const std::filesystem::path& path)
{
    const std::filesystem::path folder = path.parent_path();
    return folder.empty() ? "." : folder;
}

} // namespace

bool CheckQuizOutput(const std::filesystem::path& outputPath, const std::vector<InputFile>& inputs, std::string* error)
{
    const std::string output = outputPath.u8string();
    if (KindOf(FolderOf(outputPath)) != PathKind::FOLDER) {
        *error = "le dossier " + DirectoryOf(output) + " n'existe pas : aucun quiz n'a été écrit";
        return false;
    }
    const PathKind kind = KindOf(outputPath);
    if (kind == PathKind::MISSING)
        return true;
    if (kind == PathKind::FOLDER) {
        *error = output + " est un dossier : donnez le nom du quiz à écrire, par exemple " +
                 ResolvePath(output, "MonQuiz.exe");
        return false;
    }
    for (const InputFile& input : inputs) {
        if (SameFile(outputPath, input.path)) {
            *error = output + " est " + input.role + " : zelbo-pack n'écrit pas le quiz par-dessus";
            return false;
        }
    }
    const std::string keep = " : zelbo-pack ne le remplace pas (choisissez un autre nom ou supprimez-le)";
    if (IsReadOnly(outputPath)) {
        *error = output + " est en lecture seule" + keep;
        return false;
    }
    std::vector<ResourceEntry> resources;
    std::string notModule;
    if (!ReadModuleResources(outputPath, &resources, &notModule)) {
        *error = output + " existe déjà et n'est pas un programme Windows" + keep;
        return false;
    }
    if (!IsPlayerImage(resources)) {
        *error = output + " existe déjà et n'est pas un quiz Zelbo" + keep;
        return false;
    }
    return true;
}

bool PrepareExtractFolder(const std::filesystem::path& folderPath, const std::string& mediaFolder, bool force,
                          std::string* error)
{
    const PathKind kind = KindOf(folderPath);
    const std::string folder = folderPath.u8string();
    if (kind == PathKind::FILE) {
        *error = folder + " est un fichier, pas un dossier";
        return false;
    }
    if (kind == PathKind::MISSING)
        return true;
    const std::string media = folder + "/" + mediaFolder;
    const std::filesystem::path mediaPath = folderPath / mediaFolder;
    std::vector<std::string> earlier;
    for (const std::string& name : FilesIn(mediaPath))
        if (IsExtractedMediaName(name))
            earlier.push_back(name);
    const bool hasSource = KindOf(folderPath / "quiz.toml") != PathKind::MISSING;
    if (!hasSource && earlier.empty())
        return true;
    if (!force) {
        std::string found = hasSource ? "quiz.toml" : "";
        if (!earlier.empty())
            found += (hasSource ? " et " : "") + Plural(earlier.size(), "fichier") + " dans " + mediaFolder;
        *error = folder + " contient déjà " + found + " : rien n'a été écrit (--force les remplace)";
        return false;
    }
    for (const std::string& name : earlier) {
        if (!RemoveFile(mediaPath / std::filesystem::u8path(name))) {
            *error = "impossible de supprimer " + media + "/" + name + " (" + LastSystemError() + ")";
            return false;
        }
    }
    return true;
}
