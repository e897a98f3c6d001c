// zelbo-pack encode: a file compressed with the player's codec.
#include "authoring/files_win.h"
#include "authoring/quiz_payload.h"
#include "authoring/wording.h"
#include "pack/commands_win.h"
#include "pack/console_win.h"

int RunEncode(const PackCommand& command)
{
    const std::filesystem::path input = ArgumentPath(command.operands[0]);
    const std::filesystem::path output = ArgumentPath(command.operands[1]);
    std::string bytes;
    if (!ReadWholeFile(input, &bytes))
        return Fail(ReadFailure(input));
    Bytes encoded;
    const int32_t result = LzwEncodeBytes(Bytes(bytes.begin(), bytes.end()), &encoded);
    if (result != 0)
        return Fail("la compression a échoué : " + LzwResultName(result));
    if (!WriteWholeFile(output, std::string(encoded.begin(), encoded.end())))
        return Fail(WriteFailure(output));
    PrintOut(command.operands[1] + " : " + Plural(bytes.size(), "octet") + " compressé" +
             (bytes.size() > 1 ? "s" : "") + " en " + std::to_string(encoded.size()) + "\n");
    return EXIT_OK;
}
