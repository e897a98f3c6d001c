#include "atelier/recovery.h"

namespace {

const char RECOVERY_EXTENSION[] = ".recuperation";
const char NOTE_PREFIX[] = "atelier-";
const char NOTE_EXTENSION[] = ".note";
const char TRY_PREFIX[] = "essai-";
const char HEADER[] = "# Copie de récupération de Zelbo Atelier : ";
const char NEVER_SAVED[] = "nouveau quiz jamais enregistré";

bool StartsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The number between a name's start and end, as a process is numbered; 0 when there is none.
unsigned long NumberBetween(const std::string& name, const std::string& start, const std::string& end)
{
    if (name.size() < start.size() + end.size() || !StartsWith(name, start) || !EndsWith(name, end))
        return 0;
    const std::string digits = name.substr(start.size(), name.size() - start.size() - end.size());
    if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return std::stoul(digits);
}

} // namespace

std::string RecoveryPathBeside(const std::string& sourcePath)
{
    return sourcePath + RECOVERY_EXTENSION;
}

std::string NewQuizRecoveryName(unsigned long process)
{
    return "sans-titre-" + std::to_string(process) + RECOVERY_EXTENSION;
}

std::string RecoveryNoteName(unsigned long process)
{
    return NOTE_PREFIX + std::to_string(process) + NOTE_EXTENSION;
}

unsigned long ProcessOfRecoveryNote(const std::string& name)
{
    return NumberBetween(name, NOTE_PREFIX, NOTE_EXTENSION);
}

std::string TryFolderName(unsigned long process)
{
    return TRY_PREFIX + std::to_string(process);
}

unsigned long ProcessOfTryFolder(const std::string& name)
{
    return NumberBetween(name, TRY_PREFIX, "");
}

std::string RecoveryText(const std::string& sourcePath, const std::string& sourceText)
{
    return HEADER + (sourcePath.empty() ? NEVER_SAVED : sourcePath) + "\n" + sourceText;
}

RecoveredWork ReadRecoveryText(const std::string& text)
{
    RecoveredWork work;
    const size_t end = text.find('\n');
    if (!StartsWith(text, HEADER) || end == std::string::npos)
        return work;
    const std::string named = text.substr(sizeof(HEADER) - 1, end - (sizeof(HEADER) - 1));
    work.ok = true;
    work.sourcePath = named == NEVER_SAVED ? "" : named;
    work.sourceText = text.substr(end + 1);
    return work;
}
