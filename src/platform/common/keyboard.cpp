#include "platform/common/keyboard.h"

namespace platform::keyboard {

namespace {

struct PunctuationKey {
    std::uint32_t virtualKey;
    char plain;
    char shifted;
};

// The US layout's punctuation keys; the key between left Shift and Z that some
// keyboards have (0xE2) types what the backslash key types.
constexpr PunctuationKey punctuationKeys[] = {
    {0xBA, ';', ':'},  {0xBB, '=', '+'}, {0xBC, ',', '<'},  {0xBD, '-', '_'},
    {0xBE, '.', '>'},  {0xBF, '/', '?'}, {0xC0, '`', '~'},  {0xDB, '[', '{'},
    {0xDC, '\\', '|'}, {0xDD, ']', '}'}, {0xDE, '\'', '"'}, {0xE2, '\\', '|'},
};

constexpr char shiftedDigits[] = ")!@#$%^&*(";

// Keys whose character is their own code.
constexpr std::uint32_t keyBackspace = 0x08, keyTab = 0x09, keyReturn = 0x0D;
constexpr std::uint32_t keyEscape = 0x1B, keySpace = 0x20;

constexpr std::uint32_t keyNumpad0 = 0x60, keyNumpad9 = 0x69;
constexpr std::uint32_t keyMultiply = 0x6A, keyDivide = 0x6F;
constexpr char keypadOperators[] = {'*', '+', 0, '-', '.', '/'};  // 0x6A..0x6F; the separator types nothing

std::uint32_t punctuationCharacter(std::uint32_t virtualKey, bool shifted)
{
    for (const PunctuationKey& key : punctuationKeys)
        if (key.virtualKey == virtualKey) return std::uint32_t(shifted ? key.shifted : key.plain);
    return 0;
}

std::uint32_t keypadCharacter(std::uint32_t virtualKey)
{
    if (virtualKey >= keyNumpad0 && virtualKey <= keyNumpad9) return '0' + (virtualKey - keyNumpad0);
    if (virtualKey >= keyMultiply && virtualKey <= keyDivide)
        return std::uint32_t(keypadOperators[virtualKey - keyMultiply]);
    return 0;
}

}  // namespace

std::uint32_t punctuationKeyFor(std::uint32_t character)
{
    for (const PunctuationKey& key : punctuationKeys)
        if (character == std::uint32_t(key.plain) || character == std::uint32_t(key.shifted))
            return key.virtualKey;
    return 0;
}

std::uint32_t characterFor(std::uint32_t virtualKey, bool shifted)
{
    if (virtualKey >= 'A' && virtualKey <= 'Z') return shifted ? virtualKey : virtualKey + ('a' - 'A');
    if (virtualKey >= '0' && virtualKey <= '9')
        return shifted ? std::uint32_t(shiftedDigits[virtualKey - '0']) : virtualKey;
    switch (virtualKey) {
    case keyBackspace:
    case keyTab:
    case keyReturn:
    case keyEscape:
    case keySpace:
        return virtualKey;
    default:
        break;
    }
    if (const std::uint32_t character = punctuationCharacter(virtualKey, shifted)) return character;
    return keypadCharacter(virtualKey);
}

}  // namespace platform::keyboard
