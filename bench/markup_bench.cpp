// Parse throughput of MarkupDocument against pugixml on one generated ~5 MB document
// shaped like the device and profile files (many empty elements, all data in attributes).
// pugixml is a baseline only; without it the bench measures MarkupDocument alone.
#include <benchmark/benchmark.h>

#include <string>

#include "base/text.h"
#include "xml/markup_document.h"

#ifdef CORVANE_HAVE_PUGIXML
#include <pugixml.hpp>
#endif

namespace {

constexpr std::size_t kTargetBytes = 5 * 1024 * 1024;
constexpr int kItemsPerGroup = 16;

// A deterministic document of about kTargetBytes UTF-8 bytes.
const std::string& GeneratedDocument() {
  static const std::string text = [] {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<profiles>\r\n";
    for (int group = 0; out.size() < kTargetBytes; ++group) {
      out += "<profile id=\"" + std::to_string(group) + "\" name=\"Profile &amp; " +
             std::to_string(group) + "\" active=\"0\">\r\n";
      for (int item = 0; item < kItemsPerGroup; ++item) {
        out += "<key_item key_code=\"" + std::to_string(item) +
               "\" macro_type=\"2\" macro_value=\"" + std::to_string(group * 31 + item) +
               "\" macro_value2=\"0\" macro_desc=\"Ctrl+\xE9\xBC\xA0\"/>\r\n";
      }
      out += "<light mode=\"1\" brightness=\"3\" speed=\"2\" colors=\"255,65280,16711680\"/>\r\n"
             "</profile>\r\n";
    }
    out += "</profiles>\r\n";
    return out;
  }();
  return text;
}

void BM_MarkupDocumentUtf8(benchmark::State& state) {
  const std::string& text = GeneratedDocument();
  for (auto _ : state) {
    corvane::MarkupDocument doc;
    if (!doc.SetText(text)) state.SkipWithError("not well formed");
    benchmark::DoNotOptimize(doc.GetText().data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_MarkupDocumentUtf8)->Unit(benchmark::kMillisecond);

// Index building alone, on text already held as UTF-16.
void BM_MarkupDocumentUtf16(benchmark::State& state) {
  const std::u16string text = corvane::Utf8ToUtf16(GeneratedDocument());
  for (auto _ : state) {
    corvane::MarkupDocument doc;
    if (!doc.SetText(std::u16string_view(text))) state.SkipWithError("not well formed");
    benchmark::DoNotOptimize(doc.GetText().data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * GeneratedDocument().size()));
}
BENCHMARK(BM_MarkupDocumentUtf16)->Unit(benchmark::kMillisecond);

// Parse plus reading every attribute once, as the file readers do.
void BM_MarkupDocumentReadAll(benchmark::State& state) {
  const std::string& text = GeneratedDocument();
  for (auto _ : state) {
    corvane::MarkupDocument doc;
    doc.SetText(text);
    long long sum = 0;
    doc.FindElement("profiles");
    doc.EnterElement();
    while (doc.FindElement("profile")) {
      sum += doc.GetAttributeInt("id");
      doc.EnterElement();
      while (doc.FindElement("key_item")) sum += doc.GetAttributeInt("macro_value");
      doc.LeaveElement();
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_MarkupDocumentReadAll)->Unit(benchmark::kMillisecond);

#ifdef CORVANE_HAVE_PUGIXML
void BM_Pugixml(benchmark::State& state) {
  const std::string& text = GeneratedDocument();
  for (auto _ : state) {
    pugi::xml_document doc;
    pugi::xml_parse_result result = doc.load_buffer(text.data(), text.size());
    if (!result) state.SkipWithError("pugixml parse failed");
    benchmark::DoNotOptimize(doc.first_child());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Pugixml)->Unit(benchmark::kMillisecond);

void BM_PugixmlReadAll(benchmark::State& state) {
  const std::string& text = GeneratedDocument();
  for (auto _ : state) {
    pugi::xml_document doc;
    doc.load_buffer(text.data(), text.size());
    long long sum = 0;
    for (pugi::xml_node profile : doc.child("profiles").children("profile")) {
      sum += profile.attribute("id").as_int();
      for (pugi::xml_node item : profile.children("key_item")) {
        sum += item.attribute("macro_value").as_int();
      }
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_PugixmlReadAll)->Unit(benchmark::kMillisecond);
#endif

}  // namespace

BENCHMARK_MAIN();
