// Building a document: element placement, attribute escaping and index patching.
#include <gtest/gtest.h>

#include "xml/markup_document.h"

namespace corvane {
namespace {

constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

TEST(MarkupBuilding, ExportSequenceProducesExactLines) {
  MarkupDocument doc;
  EXPECT_FALSE(doc.SetText(kDeclaration));
  ASSERT_TRUE(doc.AddElement("R"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AddElement("F"));
  ASSERT_TRUE(doc.SetAttribute("a", "1"));
  ASSERT_TRUE(doc.AddElement("L"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AddElement("I"));
  ASSERT_TRUE(doc.SetAttributeInt("b", 2));
  ASSERT_TRUE(doc.AddElement("I"));
  ASSERT_TRUE(doc.SetAttribute("b", "3"));
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_EQ(doc.GetTextUtf8(), std::string(kDeclaration) +
                                   "<R>\r\n<F a=\"1\"/>\r\n<L>\r\n<I b=\"2\"/>\r\n"
                                   "<I b=\"3\"/>\r\n</L>\r\n</R>\r\n");
  EXPECT_TRUE(doc.IsWellFormed());
}

TEST(MarkupBuilding, RootAloneIsOneEmptyElementLine) {
  MarkupDocument doc;
  doc.SetText(kDeclaration);
  ASSERT_TRUE(doc.AddElement("R"));
  EXPECT_EQ(doc.GetTextUtf8(), std::string(kDeclaration) + "<R/>\r\n");
}

// The index patched by building must match the index built by reading the result.
void ExpectSameReading(MarkupDocument& built) {
  MarkupDocument read;
  ASSERT_TRUE(read.SetText(built.GetText()));
  built.ResetPosition();
  for (MarkupDocument* doc : {&built, &read}) {
    ASSERT_TRUE(doc->FindElement("R"));
    ASSERT_TRUE(doc->EnterElement());
  }
  std::string built_walk, read_walk;
  for (auto [doc, walk] : {std::pair{&built, &built_walk}, std::pair{&read, &read_walk}}) {
    while (doc->FindNextElement()) {
      *walk += doc->GetTagNameUtf8() + "=" + doc->GetAttribute("v") + ";";
      if (doc->EnterElement()) {
        while (doc->FindNextElement()) *walk += "  " + doc->GetAttribute("v") + ";";
        doc->LeaveElement();
      }
    }
  }
  EXPECT_EQ(built_walk, read_walk);
}

TEST(MarkupBuilding, EditsInsideExistingDocumentKeepIndexInStep) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.SetText("<R>\r\n  <A v=\"long old value\"><B v=\"b1\"/></A>\r\n"
                          "  <C v=\"c\"></C>\r\n  <D v=\"d\">text</D>\r\n</R>\r\n"));
  ASSERT_TRUE(doc.FindElement("R"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement("A"));
  ASSERT_TRUE(doc.SetAttribute("v", "x"));  // shrinks: later elements move back
  ASSERT_TRUE(doc.SetAttribute("w", "new"));
  ASSERT_TRUE(doc.AddElement("N"));  // lands at the start of C's line
  ASSERT_TRUE(doc.SetAttribute("v", "n"));
  ASSERT_TRUE(doc.FindElement("C"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AddElement("E"));  // nothing between <C> and </C>
  ASSERT_TRUE(doc.SetAttribute("v", "e"));
  ASSERT_TRUE(doc.LeaveElement());
  ASSERT_TRUE(doc.FindElement("D"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AddElement("G"));  // before </D>, after the text
  ASSERT_TRUE(doc.SetAttribute("v", "g"));
  ASSERT_TRUE(doc.LeaveElement());
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_EQ(doc.GetTextUtf8(),
            "<R>\r\n  <A v=\"x\" w=\"new\"><B v=\"b1\"/></A>\r\n  <N v=\"n\"/>\r\n"
            "<C v=\"c\">\r\n<E v=\"e\"/>\r\n</C>\r\n  <D v=\"d\">text<G v=\"g\"/>\r\n</D>\r\n"
            "</R>\r\n");
  ExpectSameReading(doc);
}

TEST(MarkupBuilding, ValuesWithMarkupCharactersRoundTrip) {
  const std::string tricky = "say \"hi\" & <bye> it's 100% \xE9\xBC\xA0";
  MarkupDocument doc;
  doc.SetText(kDeclaration);
  ASSERT_TRUE(doc.AddElement("R"));
  ASSERT_TRUE(doc.SetAttribute("v", tricky));
  EXPECT_NE(doc.GetTextUtf8().find("&quot;hi&quot; &amp; &lt;bye&gt; it&apos;s"),
            std::string::npos);
  EXPECT_EQ(doc.GetAttribute("v"), tricky);
  MarkupDocument read;
  ASSERT_TRUE(read.SetText(doc.GetText()));
  ASSERT_TRUE(read.FindElement("R"));
  EXPECT_EQ(read.GetAttribute("v"), tricky);
  ASSERT_TRUE(doc.SetAttribute("v", ""));  // replace with an empty value
  EXPECT_EQ(doc.GetTextUtf8(), std::string(kDeclaration) + "<R v=\"\"/>\r\n");
}

TEST(MarkupBuilding, ReplacesSingleQuotedUnquotedAndBareValues) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.SetText("<R a='1' b=2 c><K/></R>"));
  ASSERT_TRUE(doc.FindElement("R"));
  ASSERT_TRUE(doc.SetAttribute("a", "x"));
  ASSERT_TRUE(doc.SetAttribute("b", "y"));
  ASSERT_TRUE(doc.SetAttribute("c", "z"));
  EXPECT_EQ(doc.GetTextUtf8(), "<R a=\"x\" b=\"y\" c=\"z\"><K/></R>");
  ASSERT_TRUE(doc.EnterElement());
  EXPECT_TRUE(doc.FindElement("K"));  // the child moved with the edits
}

TEST(MarkupBuilding, RefusesWhatWouldBreakTheMarkup) {
  MarkupDocument doc;
  EXPECT_FALSE(doc.SetAttribute("a", "1"));  // no current element
  EXPECT_EQ(doc.GetTextUtf8(), "");
  EXPECT_FALSE(doc.AddElement(""));
  EXPECT_FALSE(doc.AddElement("a b"));
  EXPECT_FALSE(doc.AddElement("1x"));
  ASSERT_TRUE(doc.AddElement("R"));
  EXPECT_FALSE(doc.SetAttribute("", "1"));
  EXPECT_FALSE(doc.SetAttribute("x=\"", "1"));
  EXPECT_FALSE(doc.SetAttribute("a>", "1"));
  EXPECT_EQ(doc.GetTextUtf8(), "<R/>\r\n");
}

TEST(MarkupBuilding, AppendingAtTopLevelAddsASecondRoot) {
  MarkupDocument doc;
  ASSERT_TRUE(doc.SetText("<R/>"));
  ASSERT_TRUE(doc.FindElement("R"));
  ASSERT_TRUE(doc.AddElement("S"));
  EXPECT_EQ(doc.GetTextUtf8(), "<R/><S/>\r\n");
  EXPECT_FALSE(doc.IsWellFormed());
}

TEST(MarkupBuilding, NotEndedParentGetsAnEndTag) {
  MarkupDocument doc;
  EXPECT_FALSE(doc.SetText("<R><P v=a/></R>"));  // the slash belongs to the value
  ASSERT_TRUE(doc.FindElement("R"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.FindElement("P"));
  ASSERT_TRUE(doc.EnterElement());
  ASSERT_TRUE(doc.AddElement("Q"));
  EXPECT_EQ(doc.GetTextUtf8(), "<R><P v=a/>\r\n<Q/>\r\n</P></R>");
  MarkupDocument read;
  EXPECT_TRUE(read.SetText(doc.GetText()));
}

TEST(MarkupBuilding, ManyElementsStayConsistent) {
  MarkupDocument doc;
  doc.SetText(kDeclaration);
  ASSERT_TRUE(doc.AddElement("R"));
  ASSERT_TRUE(doc.EnterElement());
  constexpr int kGroups = 200;
  for (int i = 0; i < kGroups; ++i) {
    ASSERT_TRUE(doc.AddElement("G"));
    ASSERT_TRUE(doc.SetAttributeInt("v", i));
    ASSERT_TRUE(doc.EnterElement());
    for (int k = 0; k < 3; ++k) {
      ASSERT_TRUE(doc.AddElement("I"));
      ASSERT_TRUE(doc.SetAttributeInt("v", i * 10 + k));
    }
    ASSERT_TRUE(doc.LeaveElement());
  }
  ASSERT_TRUE(doc.LeaveElement());
  EXPECT_TRUE(doc.IsWellFormed());
  ExpectSameReading(doc);
}

}  // namespace
}  // namespace corvane
