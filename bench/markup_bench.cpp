// Parse throughput of MarkupDocument against pugixml on one generated ~5 MB document
// shaped like the device and profile files (many empty elements, all data in attributes).
// pugixml is a baseline only; without it the bench measures MarkupDocument alone.
// BM_RatioToPugixml reports the comparison itself as counters (parse_ratio,
// read_all_ratio: our speed as a fraction of pugixml's).
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "base/text.h"
#include "xml/markup_document.h"

#ifdef CORVANE_HAVE_PUGIXML
#include <pugixml.hpp>
#endif

namespace {

constexpr std::size_t kTargetBytes = 5 * 1024 * 1024;
constexpr int kItemsPerGroup = 16;
// Rounds of the side-by-side comparison; its counters are medians over these.
constexpr int kRatioRounds = 31;

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

// Parses the text; returns whether it was well formed.
bool ParseOurs(const std::string& text) {
  corvane::MarkupDocument doc;
  bool well_formed = doc.SetText(text);
  benchmark::DoNotOptimize(doc.GetText().data());
  return well_formed;
}

// Parses the text and reads every attribute of every element by name, numbers as numbers
// and texts as the UTF-8 strings the file readers take; returns a sum over what was read.
long long ReadAllOurs(const std::string& text) {
  corvane::MarkupDocument doc;
  doc.SetText(text);
  long long sum = 0;
  doc.FindElement("profiles");
  doc.EnterElement();
  while (doc.FindElement("profile")) {
    sum += doc.GetAttributeInt("id") + doc.GetAttributeInt("active");
    sum += static_cast<long long>(doc.GetAttribute(std::string_view("name")).size());
    doc.EnterElement();
    while (doc.FindElement("key_item")) {
      sum += doc.GetAttributeInt("key_code") + doc.GetAttributeInt("macro_type") +
             doc.GetAttributeInt("macro_value") + doc.GetAttributeInt("macro_value2");
      sum += static_cast<long long>(doc.GetAttribute(std::string_view("macro_desc")).size());
    }
    if (doc.FindElement("light")) {
      sum += doc.GetAttributeInt("mode") + doc.GetAttributeInt("brightness") +
             doc.GetAttributeInt("speed");
      sum += static_cast<long long>(doc.GetAttribute(std::string_view("colors")).size());
    }
    doc.LeaveElement();
  }
  return sum;
}

void BM_MarkupDocumentUtf8(benchmark::State& state) {
  const std::string& text = GeneratedDocument();
  for (auto _ : state) {
    if (!ParseOurs(text)) state.SkipWithError("not well formed");
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

void BM_MarkupDocumentReadAll(benchmark::State& state) {
  const std::string& text = GeneratedDocument();
  for (auto _ : state) benchmark::DoNotOptimize(ReadAllOurs(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_MarkupDocumentReadAll)->Unit(benchmark::kMillisecond);

#ifdef CORVANE_HAVE_PUGIXML
bool ParsePugixml(const std::string& text) {
  pugi::xml_document doc;
  pugi::xml_parse_result result = doc.load_buffer(text.data(), text.size());
  benchmark::DoNotOptimize(doc.first_child());
  return static_cast<bool>(result);
}

// The same reads as ReadAllOurs, each in pugixml's own way (texts as its C strings).
long long ReadAllPugixml(const std::string& text) {
  pugi::xml_document doc;
  doc.load_buffer(text.data(), text.size());
  long long sum = 0;
  for (pugi::xml_node profile : doc.child("profiles").children("profile")) {
    sum += profile.attribute("id").as_int() + profile.attribute("active").as_int();
    sum += static_cast<long long>(std::strlen(profile.attribute("name").as_string()));
    for (pugi::xml_node item : profile.children("key_item")) {
      sum += item.attribute("key_code").as_int() + item.attribute("macro_type").as_int() +
             item.attribute("macro_value").as_int() + item.attribute("macro_value2").as_int();
      sum += static_cast<long long>(std::strlen(item.attribute("macro_desc").as_string()));
    }
    pugi::xml_node light = profile.child("light");
    sum += light.attribute("mode").as_int() + light.attribute("brightness").as_int() +
           light.attribute("speed").as_int();
    sum += static_cast<long long>(std::strlen(light.attribute("colors").as_string()));
  }
  return sum;
}

void BM_Pugixml(benchmark::State& state) {
  const std::string& text = GeneratedDocument();
  for (auto _ : state) {
    if (!ParsePugixml(text)) state.SkipWithError("pugixml parse failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_Pugixml)->Unit(benchmark::kMillisecond);

void BM_PugixmlReadAll(benchmark::State& state) {
  const std::string& text = GeneratedDocument();
  for (auto _ : state) benchmark::DoNotOptimize(ReadAllPugixml(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_PugixmlReadAll)->Unit(benchmark::kMillisecond);

// CPU time of the calling thread in seconds: on a shared machine wall time mostly measures
// the other processes.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

template <typename Run>
double SecondsOf(Run&& run) {
  double begin = ThreadSeconds();
  run();
  return ThreadSeconds() - begin;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0.0 : values[values.size() / 2];
}

// Our speed as a fraction of pugixml's, for parsing alone and for parsing plus reading
// every attribute. Each iteration times all four runs back to back, so both parsers see the
// same load; the counters compare median CPU times (1.0 = as fast as pugixml).
void BM_RatioToPugixml(benchmark::State& state) {
  const std::string& text = GeneratedDocument();
  std::vector<double> ours_parse, pugixml_parse, ours_read, pugixml_read;
  for (auto _ : state) {
    ours_parse.push_back(SecondsOf([&] { ParseOurs(text); }));
    pugixml_parse.push_back(SecondsOf([&] { ParsePugixml(text); }));
    ours_read.push_back(SecondsOf([&] { benchmark::DoNotOptimize(ReadAllOurs(text)); }));
    pugixml_read.push_back(SecondsOf([&] { benchmark::DoNotOptimize(ReadAllPugixml(text)); }));
  }
  state.counters["parse_ratio"] = Median(pugixml_parse) / Median(ours_parse);
  state.counters["read_all_ratio"] = Median(pugixml_read) / Median(ours_read);
  state.counters["ours_parse_ms"] = Median(ours_parse) * 1e3;
  state.counters["pugixml_parse_ms"] = Median(pugixml_parse) * 1e3;
  state.counters["ours_read_all_ms"] = Median(ours_read) * 1e3;
  state.counters["pugixml_read_all_ms"] = Median(pugixml_read) * 1e3;
}
BENCHMARK(BM_RatioToPugixml)->Unit(benchmark::kMillisecond)->Iterations(kRatioRounds);
#endif

}  // namespace

BENCHMARK_MAIN();
