// Lists inside one protocol line. A list of strings travels as comma text; one table
// row travels as record text (the comma text of FieldName=value items, each value
// the comma text of its lines); a list of rows is the comma text of their record
// texts. Text is handled as bytes, so Big5 and UTF-8 pass through unchanged.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zavuv {
class ClientDataSet;
}

namespace zavuv::net {

using StringList = std::vector<std::string>;

// Joins the strings with commas. A string holding a byte with code 32 or lower, a
// double quote or a comma is enclosed in double quotes with its quotes doubled; an
// empty string is written as nothing, except that a list of one empty string is
// written as two double quotes. An empty list gives empty text.
std::string EncodeCommaText(const StringList& items);

// Reads comma text. Blanks and control characters around items are skipped, and
// outside quotes they separate items as commas do; a quoted item runs to its closing
// quote (a doubled quote inside stands for one; a missing closing quote takes the rest
// of the text); a comma that ends the text adds one empty item. A NUL byte ends the
// text.
StringList DecodeCommaText(std::string_view text);

// The comma text of the text's lines. Lines end at CR LF, LF, CR or U+2028 (in UTF-8);
// a break at the very end adds no empty line.
std::string EncodeLines(std::string_view text);
// The items of the comma text, each followed by CR LF.
std::string DecodeLines(std::string_view commaText);

// One row as record text: FieldName=EncodeLines(value) items, in the given order.
using RecordFields = std::vector<std::pair<std::string, std::string>>;
std::string EncodeRecord(const RecordFields& fields);

// The encoded value of a name in a list of FieldName=value items: the text after the
// first "=" of the first item whose name matches (letter case ignored); empty when no
// item has the name.
std::string RecordValue(const StringList& items, std::string_view name);
// DecodeLines of RecordValue, without the final CR LF: the value as it was encoded.
std::string RecordText(const StringList& items, std::string_view name);

// Appends a row to the table from a list of FieldName=value items: every visible,
// not computed field, in field order, is set from the decoded value of its name,
// converted to the field's type. A number, date or boolean field given text it cannot
// take is left empty. Text fields take the decoded lines without the final line break.
// The row is then posted; when the table's checks refuse it, the new row is dropped
// and the error goes to the caller.
void AppendRecord(ClientDataSet& table, const StringList& items);

}  // namespace zavuv::net
