#include "authoring/table_reader.h"

namespace {

constexpr char CANDIDATE_SEPARATORS[] = {'\t', ';', ','};

bool IsLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

// The separator the header row uses most; on a tie the earlier candidate, since a tab or a
// semicolon is rarer inside a French text than a comma.
char FindSeparator(const std::string& text)
{
    size_t counts[sizeof(CANDIDATE_SEPARATORS)] = {};
    size_t i = 0;
    while (i < text.size() && IsLineEnd(text[i]))
        ++i;
    for (bool quoted = false; i < text.size() && (quoted || !IsLineEnd(text[i])); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        for (size_t c = 0; c < sizeof(CANDIDATE_SEPARATORS); ++c)
            counts[c] += !quoted && text[i] == CANDIDATE_SEPARATORS[c];
    }
    size_t best = 1;
    for (size_t c = 0; c < sizeof(CANDIDATE_SEPARATORS); ++c)
        if (counts[c] > counts[best] || (counts[c] == counts[best] && c < best && counts[c] > 0))
            best = c;
    return CANDIDATE_SEPARATORS[best];
}

bool IsBlank(const std::vector<std::string>& fields)
{
    for (const std::string& field : fields)
        if (field.find_first_not_of(' ') != std::string::npos)
            return false;
    return true;
}

class TableParser {
public:
    TableParser(const std::string& text, TableRead& result) : m_text(text), m_result(result) {}

    bool ReadRow(TableRow* row)
    {
        row->line = m_line;
        for (;;) {
            std::string field;
            if (!ReadField(&field))
                return false;
            row->fields.push_back(std::move(field));
            if (m_pos < m_text.size() && m_text[m_pos] == m_result.separator) {
                ++m_pos;
                continue;
            }
            SkipLineEnd();
            return true;
        }
    }

    bool AtEnd() const { return m_pos >= m_text.size(); }

private:
    bool ReadField(std::string* field)
    {
        if (m_pos < m_text.size() && m_text[m_pos] == '"' && !ReadQuoted(field))
            return false;
        // After a closing quote, anything before the separator is kept as written.
        while (m_pos < m_text.size() && m_text[m_pos] != m_result.separator && !IsLineEnd(m_text[m_pos]))
            *field += m_text[m_pos++];
        return true;
    }

    bool ReadQuoted(std::string* field)
    {
        ++m_pos;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (IsLineEnd(c))
                return Fail("un champ entre guillemets continue sur la ligne suivante ; un texte de quiz tient sur une "
                            "ligne (guillemet fermant oublié ?)");
            ++m_pos;
            if (c != '"') {
                *field += c;
            } else if (m_pos < m_text.size() && m_text[m_pos] == '"') {
                *field += '"';
                ++m_pos;
            } else {
                return true;
            }
        }
        return Fail("un guillemet ouvert n'est jamais fermé");
    }

    // CR LF, LF or a lone CR each end one line.
    void SkipLineEnd()
    {
        if (m_pos < m_text.size() && m_text[m_pos] == '\r')
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '\n')
            ++m_pos;
        ++m_line;
    }

    bool Fail(const char* message)
    {
        m_result.errorLine = m_line;
        m_result.error = message;
        return false;
    }

    const std::string& m_text;
    TableRead& m_result;
    size_t m_pos = 0;
    int m_line = 1;
};

} // namespace

TableRead ReadTable(const std::string& utf8)
{
    TableRead result;
    result.separator = FindSeparator(utf8);
    TableParser parser(utf8, result);
    while (!parser.AtEnd()) {
        TableRow row;
        if (!parser.ReadRow(&row))
            return result;
        if (!IsBlank(row.fields))
            result.rows.push_back(std::move(row));
    }
    result.ok = true;
    return result;
}
