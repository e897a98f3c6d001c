// Small pieces of the tool's French messages, shared by every command.
#pragma once

#include <cstddef>
#include <string>

// "0 octet", "1 octet", "2 octets": French counts take the singular below two.
std::string Plural(size_t count, const char* word);

// The text between French quotation marks (U+00AB and U+00BB, each with a space inside).
std::string Quoted(const std::string& text);

// The character at a byte offset of a UTF-8 text, for messages: the character between French
// quotation marks, then its code ("(U+2260)").
std::string DescribeCharacter(const std::string& utf8, size_t offset);
