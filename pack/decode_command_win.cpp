// zelbo-pack decode: a stream of the player's codec decompressed.
#include "authoring/files_win.h"
#include "authoring/quiz_payload.h"
#include "authoring/wording.h"
#include "pack/commands_win.h"
#include "pack/console_win.h"

int RunDecode(const PackCommand& command)
{
    const std::filesystem::path input = ArgumentPath(command.operands[0]);
    const std::filesystem::path output = ArgumentPath(command.operands[1]);
    std::string bytes;
    if (!ReadWholeFile(input, &bytes))
        return Fail(ReadFailure(input));
    Bytes decoded;
    const int32_t result = LzwDecodeBytes(Bytes(bytes.begin(), bytes.end()), &decoded);
    // What was decoded before a fault still helps to find it.
    if (!WriteWholeFile(output, std::string(decoded.begin(), decoded.end())))
        return Fail(WriteFailure(output));
    const std::string plural = decoded.size() > 1 ? "s" : "";
    const std::string decodedCount = Plural(decoded.size(), "octet") + " décodé" + plural;
    if (result != 0)
        return Fail("décodage interrompu : " + LzwResultName(result) + " (" + decodedCount + " écrit" + plural +
                    " dans " + command.operands[1] + ")");
    PrintOut(command.operands[1] + " : " + decodedCount + "\n");
    return EXIT_OK;
}
