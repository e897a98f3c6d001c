#include "content/accepted_answers.h"

#include <cstring>

namespace {

// Checks the bytes of one variant; they need no terminator.
AcceptedResult CheckVariant(const char* bytes, size_t length)
{
    if (length == 0)
        return ACCEPTED_EMPTY_VARIANT;
    if (length > static_cast<size_t>(QUIZ_TEXT_MAX_LENGTH))
        return ACCEPTED_VARIANT_TOO_LONG;
    if (std::memchr(bytes, VARIANT_END, length) || std::memchr(bytes, '\0', length))
        return ACCEPTED_VARIANT_HOLDS_SEPARATOR;
    return ACCEPTED_OK;
}

// Variants are appended to the shared texts, so a box may only take them while no later box has any.
bool TakesVariants(const AcceptedAnswers& accepted, int box)
{
    if (box < 1 || box > accepted.boxCount)
        return false;
    for (int later = box; later < accepted.boxCount; ++later) {
        if (accepted.variantCount[later] != 0)
            return false;
    }
    return true;
}

AcceptedResult AddVariantBytes(AcceptedAnswers* accepted, int box, const char* bytes, size_t length)
{
    if (!TakesVariants(*accepted, box))
        return ACCEPTED_BAD_BOX;
    const AcceptedResult check = CheckVariant(bytes, length);
    if (check != ACCEPTED_OK)
        return check;
    if (accepted->variantCount[box - 1] == MAX_BOX_VARIANTS)
        return ACCEPTED_TOO_MANY_VARIANTS;
    // The payload holds every text with its '|', the header and one count byte per box.
    const size_t written =
        ACCEPTED_ANSWERS_HEADER_SIZE + static_cast<size_t>(accepted->boxCount) + accepted->textsLength + length + 1;
    if (written > ACCEPTED_ANSWERS_MAX_SIZE)
        return ACCEPTED_TOO_LARGE;
    if (accepted->variantCount[box - 1] == 0)
        accepted->firstVariant[box - 1] = static_cast<uint16_t>(accepted->textsLength);
    std::memcpy(accepted->texts + accepted->textsLength, bytes, length);
    accepted->texts[accepted->textsLength + length] = '\0';
    accepted->textsLength += static_cast<uint32_t>(length + 1);
    ++accepted->variantCount[box - 1];
    return ACCEPTED_OK;
}

AcceptedResult ParseBoxes(const unsigned char* data, size_t size, AcceptedAnswers* accepted)
{
    size_t position = ACCEPTED_ANSWERS_HEADER_SIZE;
    for (int box = 1; box <= accepted->boxCount; ++box) {
        if (position >= size)
            return ACCEPTED_TRUNCATED;
        const int count = data[position++];
        for (int i = 0; i < count; ++i) {
            const void* end = std::memchr(data + position, VARIANT_END, size - position);
            if (!end)
                return ACCEPTED_UNENDED_VARIANT;
            const size_t length = static_cast<const unsigned char*>(end) - (data + position);
            const AcceptedResult added =
                AddVariantBytes(accepted, box, reinterpret_cast<const char*>(data + position), length);
            if (added != ACCEPTED_OK)
                return added;
            position += length + 1;
        }
    }
    return position == size ? ACCEPTED_OK : ACCEPTED_TRAILING_DATA;
}

} // namespace

AcceptedResult ClearAcceptedAnswers(AcceptedAnswers* accepted, int boxCount)
{
    std::memset(static_cast<void*>(accepted), 0, sizeof(*accepted));
    if (boxCount < 0 || boxCount > MAX_ANSWER_BOXES)
        return ACCEPTED_BAD_BOX;
    accepted->boxCount = boxCount;
    return ACCEPTED_OK;
}

AcceptedResult AddAcceptedVariant(AcceptedAnswers* accepted, int box, const char* text)
{
    return AddVariantBytes(accepted, box, text, text ? std::strlen(text) : 0);
}

AcceptedResult ParseAcceptedAnswers(const unsigned char* data, size_t size, AcceptedAnswers* accepted)
{
    if (size > ACCEPTED_ANSWERS_MAX_SIZE)
        return ACCEPTED_TOO_LARGE;
    if (size < ACCEPTED_ANSWERS_HEADER_SIZE)
        return ACCEPTED_TRUNCATED;
    if (data[0] != ACCEPTED_ANSWERS_VERSION)
        return ACCEPTED_BAD_VERSION;
    if (data[1] & ~ACCEPTED_KNOWN_OPTIONS)
        return ACCEPTED_UNKNOWN_OPTION;
    if (ClearAcceptedAnswers(accepted, data[2]) != ACCEPTED_OK)
        return ACCEPTED_BAD_BOX;
    accepted->options = data[1];
    return ParseBoxes(data, size, accepted);
}

AcceptedResult WriteAcceptedAnswers(const AcceptedAnswers& accepted, std::vector<unsigned char>* out)
{
    if (accepted.options & ~ACCEPTED_KNOWN_OPTIONS)
        return ACCEPTED_UNKNOWN_OPTION;
    out->push_back(ACCEPTED_ANSWERS_VERSION);
    out->push_back(accepted.options);
    out->push_back(static_cast<unsigned char>(accepted.boxCount));
    for (int box = 1; box <= accepted.boxCount; ++box) {
        const BoxVariants variants = VariantsOfBox(&accepted, box);
        out->push_back(static_cast<unsigned char>(variants.count));
        const char* variant = variants.first;
        for (int i = 0; i < variants.count; ++i, variant = NextVariant(variant)) {
            out->insert(out->end(), variant, variant + std::strlen(variant));
            out->push_back(VARIANT_END);
        }
    }
    return ACCEPTED_OK;
}

BoxVariants VariantsOfBox(const AcceptedAnswers* accepted, int box)
{
    if (!accepted || box < 1 || box > accepted->boxCount || accepted->variantCount[box - 1] == 0)
        return {nullptr, 0};
    return {accepted->texts + accepted->firstVariant[box - 1], accepted->variantCount[box - 1]};
}

const char* NextVariant(const char* variant)
{
    return variant + std::strlen(variant) + 1;
}

bool ForgivesAccents(const AcceptedAnswers* accepted)
{
    return accepted && (accepted->options & ACCEPT_ACCENTS_FORGIVEN);
}
