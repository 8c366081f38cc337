// Reading a document: well-formedness, forward-only navigation and attribute decoding.
#include <gtest/gtest.h>

#include "xml/markup_document.h"
#include "xml/markup_references.h"

namespace corvane {
namespace {

TEST(MarkupWellFormed, AcceptsOneRootAndSkipsNonElementMarkup) {
  MarkupDocument doc;
  EXPECT_TRUE(doc.SetText(
      "<?xml version=\"1.0\"?>\r\n<!DOCTYPE r [<!ENTITY x \"y\">]>\r\n<!-- <b> -->"
      "<r><![CDATA[ <x> ]]><?pi <y> ?><a t='>'/></r>\r\n"));
  ASSERT_TRUE(doc.FindElement("r"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement("a"));
  EXPECT_EQ(doc.GetAttribute("t"), ">");
  EXPECT_FALSE(doc.FindNextElement());  // nothing from the comment or CDATA was indexed
}

TEST(MarkupWellFormed, RefusesBrokenDocuments) {
  MarkupDocument doc;
  EXPECT_FALSE(doc.SetText(""));
  EXPECT_FALSE(doc.SetText("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"));
  EXPECT_FALSE(doc.SetText("<a/><b/>"));             // second root
  EXPECT_FALSE(doc.SetText("<a></b></a>"));          // lone end tag
  EXPECT_FALSE(doc.SetText("<a><b></a>"));           // b never ended
  EXPECT_FALSE(doc.SetText("<a>"));                  // still open at the end
  EXPECT_FALSE(doc.SetText("<a><!-- open </a>"));    // unterminated comment
  EXPECT_FALSE(doc.SetText("<a attr=\"x></a>"));     // unterminated quote
  EXPECT_FALSE(doc.SetText("<a>< b/></a>"));         // syntax error after '<'
  EXPECT_FALSE(doc.SetText("<a><!x></a>"));
  EXPECT_FALSE(doc.SetText("<A></a>"));              // names are case-sensitive
  EXPECT_FALSE(doc.IsWellFormed());
  EXPECT_TRUE(doc.SetText("<a><b></b></a>"));
  EXPECT_TRUE(doc.IsWellFormed());
}

TEST(MarkupWellFormed, NotEndedChildrenMoveUpToBecomeSiblings) {
  MarkupDocument doc;
  EXPECT_FALSE(doc.SetText("<r><x><y/><z/></r>"));
  ASSERT_TRUE(doc.FindElement("r"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement("x"));
  EXPECT_TRUE(doc.FindElement("y"));  // y and z are now x's following siblings
  EXPECT_TRUE(doc.FindElement("z"));
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_FALSE(doc.FindNextElement());
}

TEST(MarkupNavigation, NamesAreExactAndCaseSensitive) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.SetText("<root><Lightitems/><light/><lightitems n=\"1\"/></root>"));
  EXPECT_FALSE(doc.FindElement("Root"));
  ASSERT_TRUE(doc.FindElement("root"));
  ASSERT_TRUE(doc.EnterElement());
  EXPECT_FALSE(doc.FindElement("ligh"));  // a prefix is not a name
  ASSERT_TRUE(doc.FindElement("lightitems"));
  EXPECT_EQ(doc.GetAttribute("n"), "1");
  EXPECT_EQ(doc.GetTagNameUtf8(), "lightitems");
  // A name holding what ends a tag name cannot match, though the text starts with it.
  doc.ResetPosition();
  ASSERT_TRUE(doc.SetText("<r><a b=\"1\"/><a/></r>"));
  ASSERT_TRUE(doc.FindElement("r"));
  ASSERT_TRUE(doc.EnterElement());
  EXPECT_FALSE(doc.FindElement("a b"));
  EXPECT_FALSE(doc.FindElement("a/"));
}

TEST(MarkupNavigation, SearchIsForwardOnly) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.SetText("<r><a i='1'/><b i='2'><c/></b><a i='3'/></r>"));
  ASSERT_TRUE(doc.FindElement("r"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement("b"));
  EXPECT_FALSE(doc.FindElement("x"));  // failure moves nothing...
  EXPECT_EQ(doc.GetAttribute("i"), "2");
  ASSERT_TRUE(doc.FindElement("a"));  // ...so the next search still starts after b
  EXPECT_EQ(doc.GetAttribute("i"), "3");
  EXPECT_FALSE(doc.FindElement("b"));  // b lies before the current element
  // Leaving and re-entering resumes after the element that was left, not at the start.
  ASSERT_TRUE(doc.LeaveElement());
  ASSERT_TRUE(doc.EnterElement());
  EXPECT_FALSE(doc.FindElement("b"));
  EXPECT_FALSE(doc.FindElement("a"));
  // Only starting over at top level finds the earlier children again.
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_FALSE(doc.FindElement("r"));
  doc.ResetPosition();
  ASSERT_TRUE(doc.FindElement("r"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement("a"));
  EXPECT_EQ(doc.GetAttribute("i"), "1");
}

TEST(MarkupNavigation, EnterAndLeaveRefuseAtTheEdges) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.SetText("<r><b><c/></b></r>"));
  EXPECT_FALSE(doc.EnterElement());  // no current element yet
  EXPECT_FALSE(doc.LeaveElement());  // already at top level
  EXPECT_EQ(doc.GetAttribute("x"), "");
  ASSERT_TRUE(doc.FindElement("r"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement("b"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement("c"));
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_EQ(doc.GetTagNameUtf8(), "b");
  ASSERT_TRUE(doc.EnterElement());  // back at c, which was left
  EXPECT_EQ(doc.GetTagNameUtf8(), "c");
  EXPECT_FALSE(doc.FindNextElement());
  doc.ResetPosition();
  EXPECT_TRUE(doc.FindElement("r"));
}

TEST(MarkupAttributes, QuotingStylesReadAlike) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.SetText("<r a=\"1\" b='2' c=3 d = \"4\" e=5>"
                          "<x v=slash/></x><y w=\"q\"/></r>"));
  ASSERT_TRUE(doc.FindElement("r"));
  EXPECT_EQ(doc.GetAttribute("a"), "1");
  EXPECT_EQ(doc.GetAttribute("b"), "2");
  EXPECT_EQ(doc.GetAttribute("c"), "3");
  EXPECT_EQ(doc.GetAttribute("d"), "4");
  EXPECT_EQ(doc.GetAttribute("e"), "5");
  EXPECT_EQ(doc.GetAttribute("A"), "");
  EXPECT_EQ(doc.GetAttribute("missing"), "");
  EXPECT_EQ(doc.GetAttributeInt("missing"), 0);
  EXPECT_EQ(doc.GetAttributeInt("e"), 5);
  ASSERT_TRUE(doc.EnterElement());
  // An unquoted value keeps the slash before '>', so <x .../> is a start tag here.
  ASSERT_TRUE(doc.FindElement("x"));
  EXPECT_EQ(doc.GetAttribute("v"), "slash/");
  ASSERT_TRUE(doc.FindElement("y"));
  EXPECT_EQ(doc.GetAttribute("w"), "q");
}

TEST(MarkupAttributes, QuotesAndTagEndsAreFoundWhereverTheyFall) {
  // Closing quotes and '>' are searched several units at a time; move them across every
  // position of such a step, with markup characters inside the quotes.
  for (std::size_t pad = 0; pad < 20; ++pad) {
    SCOPED_TRACE(pad);
    std::string value = std::string(pad, 'v') + "/>'";
    std::string text = "<r><a" + std::string(pad, ' ') + " x=\"" + value + "\" y='" +
                       std::string(pad, 'w') + "\"'" + std::string(pad, ' ') + "/><b/></r>";
    MarkupDocument doc;
    ASSERT_TRUE(doc.SetText(text));
    ASSERT_TRUE(doc.FindElement("r"));
    ASSERT_TRUE(doc.EnterElement());
    ASSERT_TRUE(doc.FindElement("a"));
    EXPECT_EQ(doc.GetAttribute("x"), value);
    EXPECT_EQ(doc.GetAttribute("y"), std::string(pad, 'w') + "\"");
    EXPECT_TRUE(doc.FindElement("b"));  // <a .../> closed where it should
  }
}

TEST(MarkupAttributes, ReadsFollowEditsAndNewText) {
  // Reading keeps the last element's attribute positions; an edit or a new text must not
  // leave them pointing at the old places.
  MarkupDocument doc;
  ASSERT_TRUE(doc.SetText("<r><a x=\"1\" y=\"2\"/><b z=\"3\"/></r>"));
  ASSERT_TRUE(doc.FindElement("r"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement("a"));
  EXPECT_EQ(doc.GetAttribute("x"), "1");
  ASSERT_TRUE(doc.SetAttribute("x", "a longer value"));
  EXPECT_EQ(doc.GetAttribute("y"), "2");
  EXPECT_EQ(doc.GetAttribute("x"), "a longer value");
  ASSERT_TRUE(doc.SetAttribute("w", "4"));
  EXPECT_EQ(doc.GetAttributeInt("w"), 4);
  ASSERT_TRUE(doc.FindElement("b"));
  EXPECT_EQ(doc.GetAttributeInt("z"), 3);
  ASSERT_TRUE(doc.SetText("<r><q z=\"9\"/></r>"));  // same handles, other text
  ASSERT_TRUE(doc.FindElement("r"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindNextElement());
  EXPECT_EQ(doc.GetAttributeInt("z"), 9);
}

TEST(MarkupAttributes, FirstOfDuplicateNamesWins) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.SetText("<r ab=\"0\" a=\"1\" a=\"2\"/>"));
  ASSERT_TRUE(doc.FindElement("r"));
  EXPECT_EQ(doc.GetAttribute("a"), "1");
}

TEST(MarkupReferences, DecodesNumericAndNamedReferencesOnce) {
  EXPECT_EQ(DecodeReferences(u"&#x41;&#X42;&#67;"), u"ABC");
  EXPECT_EQ(DecodeReferences(u"&amp;lt;"), u"&lt;");
  EXPECT_EQ(DecodeReferences(u"&lt;&gt;&quot;&apos;&amp;"), u"<>\"'&");
  EXPECT_EQ(DecodeReferences(u"&eacute;&Eacute;&EACUTE;"), u"\u00E9\u00C9\u00C9");
  EXPECT_EQ(DecodeReferences(u"&nbsp;&thetasym;&euro;"), u"\u00A0\u03D1\u20AC");
  EXPECT_EQ(DecodeReferences(u"&#x1F5B1;"), u"\U0001F5B1");  // surrogate pair
}

TEST(MarkupReferences, CopiesUnusableReferencesThrough) {
  EXPECT_EQ(DecodeReferences(u"&bogus; & &amp &;"), u"&bogus; & &amp &;");
  EXPECT_EQ(DecodeReferences(u"&#0;&#x0;&#;&#x;&#12a;"), u"&#0;&#x0;&#;&#x;&#12a;");
  EXPECT_EQ(DecodeReferences(u"&#x110000;&#xD800;"), u"&#x110000;&#xD800;");
  EXPECT_EQ(DecodeReferences(u"&#0000000065;"), u"&#0000000065;");  // ';' too far
  EXPECT_EQ(DecodeReferences(u"&#00000065;"), u"A");
  EXPECT_EQ(DecodeReferences(u"tail &"), u"tail &");
}

TEST(MarkupReferences, NamedTableHasTheExpectedNames) {
  EXPECT_EQ(LookupNamedReference(u"apos"), U'\'');
  EXPECT_EQ(LookupNamedReference(u"yuml"), U'\u00FF');
  EXPECT_EQ(LookupNamedReference(u"Yuml"), U'\u0178');  // exact case wins
  EXPECT_EQ(LookupNamedReference(u"zwnj"), U'\u200C');
  EXPECT_EQ(LookupNamedReference(u"AElig"), U'\u00C6');
  EXPECT_EQ(LookupNamedReference(u"nope"), U'\0');
  EXPECT_EQ(LookupNamedReference(u""), U'\0');
}

}  // namespace
}  // namespace corvane
