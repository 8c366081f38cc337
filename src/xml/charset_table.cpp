// The charset alias table and the code page to converter name mapping.
#include "xml/charset_table.h"

#include <algorithm>
#include <iterator>

#include "base/text.h"

namespace corvane {
namespace {

struct CharsetName {
  const char* name;  // lower case
  int code_page;
};

// Registered charset names and common aliases, sorted by name.
constexpr CharsetName kCharsetNames[] = {
    {"437", 437}, {"646", 20127}, {"850", 850}, {"852", 852}, {"855", 855},
    {"857", 857}, {"860", 860}, {"861", 861}, {"862", 862}, {"863", 863},
    {"865", 865}, {"866", 866}, {"869", 869}, {"ansi_x3.4-1968", 20127},
    {"ansi_x3.4-1986", 20127}, {"arabic", 28596}, {"ascii", 20127},
    {"asmo-708", 28596}, {"big-5", 950}, {"big5", 950}, {"big5-hkscs", 950},
    {"ccsid00858", 858}, {"chinese", 936}, {"cn-big5", 950}, {"cn-gb", 936},
    {"cp-gr", 869}, {"cp-is", 861}, {"cp00858", 858}, {"cp1250", 1250},
    {"cp1251", 1251}, {"cp1252", 1252}, {"cp1253", 1253}, {"cp1254", 1254},
    {"cp1255", 1255}, {"cp1256", 1256}, {"cp1257", 1257}, {"cp1258", 1258},
    {"cp367", 20127}, {"cp437", 437}, {"cp65000", 65000}, {"cp65001", 65001},
    {"cp737", 737}, {"cp775", 775}, {"cp819", 28591}, {"cp850", 850}, {"cp852", 852},
    {"cp855", 855}, {"cp857", 857}, {"cp858", 858}, {"cp860", 860}, {"cp861", 861},
    {"cp862", 862}, {"cp863", 863}, {"cp864", 864}, {"cp865", 865}, {"cp866", 866},
    {"cp869", 869}, {"cp874", 28601}, {"cp932", 932}, {"cp936", 936}, {"cp949", 949},
    {"cp950", 950}, {"csascii", 20127}, {"csbig5", 950}, {"cseuckr", 51949},
    {"cseucpkdfmtjapanese", 51932}, {"csgb2312", 936}, {"csgb231280", 936},
    {"csibm855", 855}, {"csibm857", 857}, {"csibm860", 860}, {"csibm861", 861},
    {"csibm863", 863}, {"csibm864", 864}, {"csibm865", 865}, {"csibm866", 866},
    {"csibm869", 869}, {"csiso2022jp", 50220}, {"csiso2022kr", 50225},
    {"csiso58gb231280", 936}, {"csiso88598i", 38598}, {"csisolatin1", 28591},
    {"csisolatin2", 28592}, {"csisolatin3", 28593}, {"csisolatin4", 28594},
    {"csisolatin5", 28599}, {"csisolatin6", 28600}, {"csisolatin9", 28605},
    {"csisolatinarabic", 28596}, {"csisolatincyrillic", 28595},
    {"csisolatingreek", 28597}, {"csisolatinhebrew", 28598}, {"cskoi8r", 20866},
    {"csksc56011987", 949}, {"csmacintosh", 10000}, {"cspc775baltic", 775},
    {"cspc850multilingual", 850}, {"cspc8codepage437", 437}, {"cspcp852", 852},
    {"csshiftjis", 932}, {"csunicode", 1200}, {"csunicode11utf7", 65000},
    {"cswindows31j", 932}, {"cyrillic", 28595}, {"dos-862", 862}, {"dos-874", 28601},
    {"ecma-114", 28596}, {"ecma-118", 28597}, {"elot_928", 28597}, {"euc-jp", 51932},
    {"euc-kr", 51949}, {"eucjp", 51932}, {"euckr", 51949},
    {"extended_unix_code_packed_format_for_japanese", 51932}, {"gb18030", 54936},
    {"gb2312", 936}, {"gb231280", 936}, {"gb_2312-80", 936}, {"gbk", 936},
    {"greek", 28597}, {"greek8", 28597}, {"hebrew", 28598}, {"ibm00858", 858},
    {"ibm367", 20127}, {"ibm437", 437}, {"ibm737", 737}, {"ibm775", 775},
    {"ibm819", 28591}, {"ibm850", 850}, {"ibm852", 852}, {"ibm855", 855},
    {"ibm857", 857}, {"ibm860", 860}, {"ibm861", 861}, {"ibm862", 862},
    {"ibm863", 863}, {"ibm864", 864}, {"ibm865", 865}, {"ibm866", 866},
    {"ibm869", 869}, {"iso-10646-ucs-2", 1200}, {"iso-2022-jp", 50220},
    {"iso-2022-kr", 50225}, {"iso-8859-1", 28591}, {"iso-8859-10", 28600},
    {"iso-8859-11", 28601}, {"iso-8859-13", 28603}, {"iso-8859-14", 28604},
    {"iso-8859-15", 28605}, {"iso-8859-15:1998", 28605}, {"iso-8859-16", 28606},
    {"iso-8859-2", 28592}, {"iso-8859-3", 28593}, {"iso-8859-4", 28594},
    {"iso-8859-5", 28595}, {"iso-8859-6", 28596}, {"iso-8859-7", 28597},
    {"iso-8859-8", 28598}, {"iso-8859-8-i", 38598}, {"iso-8859-9", 28599},
    {"iso-ir-100", 28591}, {"iso-ir-101", 28592}, {"iso-ir-109", 28593},
    {"iso-ir-110", 28594}, {"iso-ir-126", 28597}, {"iso-ir-127", 28596},
    {"iso-ir-138", 28598}, {"iso-ir-144", 28595}, {"iso-ir-148", 28599},
    {"iso-ir-149", 949}, {"iso-ir-157", 28600}, {"iso-ir-58", 936},
    {"iso-ir-6", 20127}, {"iso646-us", 20127}, {"iso8859-1", 28591},
    {"iso8859-10", 28600}, {"iso8859-11", 28601}, {"iso8859-13", 28603},
    {"iso8859-14", 28604}, {"iso8859-15", 28605}, {"iso8859-16", 28606},
    {"iso8859-2", 28592}, {"iso8859-3", 28593}, {"iso8859-4", 28594},
    {"iso8859-5", 28595}, {"iso8859-6", 28596}, {"iso8859-7", 28597},
    {"iso8859-8", 28598}, {"iso8859-9", 28599}, {"iso_646.irv:1991", 20127},
    {"iso_8859-1", 28591}, {"iso_8859-15", 28605}, {"iso_8859-1:1987", 28591},
    {"iso_8859-2", 28592}, {"iso_8859-2:1987", 28592}, {"iso_8859-3", 28593},
    {"iso_8859-3:1988", 28593}, {"iso_8859-4", 28594}, {"iso_8859-4:1988", 28594},
    {"iso_8859-5", 28595}, {"iso_8859-5:1988", 28595}, {"iso_8859-6", 28596},
    {"iso_8859-6:1987", 28596}, {"iso_8859-7", 28597}, {"iso_8859-7:1987", 28597},
    {"iso_8859-8", 28598}, {"iso_8859-8-i", 38598}, {"iso_8859-8:1988", 28598},
    {"iso_8859-9", 28599}, {"iso_8859-9:1989", 28599}, {"jis", 50220},
    {"johab", 1361}, {"koi", 20866}, {"koi8", 20866}, {"koi8-r", 20866},
    {"koi8-ru", 21866}, {"koi8-u", 21866}, {"koi8r", 20866}, {"koi8u", 21866},
    {"korean", 949}, {"ks_c_5601", 949}, {"ks_c_5601-1987", 949},
    {"ks_c_5601-1989", 949}, {"ksc5601", 949}, {"ksc_5601", 949}, {"l1", 28591},
    {"l10", 28606}, {"l2", 28592}, {"l3", 28593}, {"l4", 28594}, {"l5", 28599},
    {"l6", 28600}, {"l7", 28603}, {"l8", 28604}, {"l9", 28605}, {"latin-9", 28605},
    {"latin1", 28591}, {"latin10", 28606}, {"latin2", 28592}, {"latin3", 28593},
    {"latin4", 28594}, {"latin5", 28599}, {"latin6", 28600}, {"latin7", 28603},
    {"latin8", 28604}, {"latin9", 28605}, {"mac", 10000},
    {"maccentraleurope", 10029}, {"maccyrillic", 10007}, {"macintosh", 10000},
    {"macroman", 10000}, {"ms-ansi", 1252}, {"ms-arab", 1256}, {"ms-cyrl", 1251},
    {"ms-ee", 1250}, {"ms-greek", 1253}, {"ms-hebr", 1255}, {"ms-turk", 1254},
    {"ms932", 932}, {"ms936", 936}, {"ms949", 949}, {"ms950", 950},
    {"ms_kanji", 932}, {"pc-multilingual-850+euro", 858}, {"shift-jis", 932},
    {"shift_jis", 932}, {"sjis", 932}, {"tis-620", 28601}, {"tis620", 28601},
    {"ucs-2", 1200}, {"ucs2", 1200}, {"uhc", 949}, {"unicode", 1200},
    {"unicode-1-1-utf-7", 65000}, {"unicode-1-1-utf-8", 65001},
    {"unicode-2-0-utf-7", 65000}, {"unicode-2-0-utf-8", 65001},
    {"unicode11utf8", 65001}, {"unicode20utf8", 65001}, {"unicodebig", 1201},
    {"unicodefffe", 1201}, {"unicodelittle", 1200}, {"us", 20127},
    {"us-ascii", 20127}, {"utf-16", 1200}, {"utf-16be", 1201}, {"utf-16le", 1200},
    {"utf-32", 12000}, {"utf-32be", 12001}, {"utf-32le", 12000}, {"utf-7", 65000},
    {"utf-8", 65001}, {"utf16", 1200}, {"utf16be", 1201}, {"utf16le", 1200},
    {"utf32", 12000}, {"utf32be", 12001}, {"utf32le", 12000}, {"utf7", 65000},
    {"utf8", 65001}, {"winbaltrim", 1257}, {"windows-1250", 1250},
    {"windows-1251", 1251}, {"windows-1252", 1252}, {"windows-1253", 1253},
    {"windows-1254", 1254}, {"windows-1255", 1255}, {"windows-1256", 1256},
    {"windows-1257", 1257}, {"windows-1258", 1258}, {"windows-31j", 932},
    {"windows-874", 28601}, {"windows-936", 936}, {"windows-949", 949},
    {"x-ansi", 1252}, {"x-big5", 950}, {"x-cp1250", 1250}, {"x-cp1251", 1251},
    {"x-euc", 51932}, {"x-euc-jp", 51932}, {"x-gbk", 936}, {"x-ibm874", 28601},
    {"x-mac-ce", 10029}, {"x-mac-cyrillic", 10007}, {"x-mac-roman", 10000},
    {"x-ms-cp932", 932}, {"x-sjis", 932}, {"x-unicode-1-1-utf-7", 65000},
    {"x-unicode-2-0-utf-7", 65000}, {"x-unicode2-0-utf-8", 65001},
    {"x-unicode20utf8", 65001}, {"x-x-big5", 950},
};

struct CodePageConverter {
  int code_page;
  const char* converter;
};

constexpr CodePageConverter kConverters[] = {
    {437, "CP437"},       {737, "CP737"},        {775, "CP775"},        {850, "CP850"},
    {852, "CP852"},       {855, "CP855"},        {857, "CP857"},        {858, "CP858"},
    {860, "CP860"},       {861, "CP861"},        {862, "CP862"},        {863, "CP863"},
    {864, "CP864"},       {865, "CP865"},        {866, "CP866"},        {869, "CP869"},
    {932, "CP932"},       {936, "GBK"},          {949, "CP949"},        {950, "BIG5"},
    {1200, "UTF-16LE"},   {1201, "UTF-16BE"},    {1250, "CP1250"},      {1251, "CP1251"},
    {1252, "CP1252"},     {1253, "CP1253"},      {1254, "CP1254"},      {1255, "CP1255"},
    {1256, "CP1256"},     {1257, "CP1257"},      {1258, "CP1258"},      {1361, "JOHAB"},
    {10000, "MACINTOSH"}, {10007, "MAC-CYRILLIC"}, {10029, "MAC-CENTRALEUROPE"},
    {12000, "UTF-32LE"},  {12001, "UTF-32BE"},   {20127, "ASCII"},      {20866, "KOI8-R"},
    {21866, "KOI8-U"},    {28591, "ISO-8859-1"}, {28592, "ISO-8859-2"}, {28593, "ISO-8859-3"},
    {28594, "ISO-8859-4"}, {28595, "ISO-8859-5"}, {28596, "ISO-8859-6"}, {28597, "ISO-8859-7"},
    {28598, "ISO-8859-8"}, {28599, "ISO-8859-9"}, {28600, "ISO-8859-10"}, {28601, "ISO-8859-11"},
    {28603, "ISO-8859-13"}, {28604, "ISO-8859-14"}, {28605, "ISO-8859-15"},
    {28606, "ISO-8859-16"}, {38598, "ISO-8859-8"}, {50220, "ISO-2022-JP"},
    {50225, "ISO-2022-KR"}, {51932, "EUC-JP"},    {51949, "EUC-KR"},     {54936, "GB18030"},
    {65000, "UTF-7"},     {65001, "UTF-8"},
};

}  // namespace

int CodePageForCharset(std::string_view name) {
  if (name.empty() || name.size() >= kMaxCharsetNameLength) return 0;
  std::string lower = AsciiLower(name);
  if (lower.starts_with("utf-32")) {
    return lower.ends_with("be") ? kUtf32BeCodePage : kUtf32LeCodePage;
  }
  auto found = std::lower_bound(std::begin(kCharsetNames), std::end(kCharsetNames), lower,
                                [](const CharsetName& entry, const std::string& key) {
                                  return std::string_view(entry.name) < key;
                                });
  if (found == std::end(kCharsetNames) || lower != found->name) return 0;
  return found->code_page;
}

const char* ConverterNameForCodePage(int code_page) {
  for (const CodePageConverter& entry : kConverters) {
    if (entry.code_page == code_page) return entry.converter;
  }
  return nullptr;
}

std::size_t CharsetNameCount() { return std::size(kCharsetNames); }

}  // namespace corvane
