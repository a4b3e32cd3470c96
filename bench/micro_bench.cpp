// Micro-benchmarks of the routines every page and every keyword go through.
// Each one runs at several sizes and reports its growth (BigO), so that a
// routine that turns quadratic shows at once.

#include <benchmark/benchmark.h>
#include <unicode/ucol.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "io/text_loading.h"
#include "io/text_stream.h"
#include "output/index_file.h"
#include "output/index_sort.h"
#include "page/keyword_index.h"
#include "page/normalise.h"
#include "text/cp1252.h"
#include "text/encoders.h"
#include "text/tidy_text.h"

namespace {

// Loose HTML as in the pages: void elements, entities, accents, keywords.
std::string loosePage(std::size_t bytes) {
    static const std::string kBlock =
        "<h2 id=\"s1\" icon=\"3\">R&eacute;glages &amp; pr&eacute;f&eacute;rences&nbsp;:</h2>\n"
        "<p>Ouvrez le menu <b ix=\"Outils|Options\">Options</b> de la fen\xC3\xAAtre "
        "principale&hellip; puis choisissez &laquo;&nbsp;Affichage&nbsp;&raquo;.<br>\n"
        "<img src=\"../images/reglages.png\" alt=\"r\xC3\xA9glages\"> Le prix est de "
        "19&nbsp;&euro; (Q&R, &lt;note&gt;, n&#176;3).<br/>\n"
        "<span ix=\"1\">pr\xC3\xA9"
        "f\xC3\xA9rences</span> <i ix=\"Affichage|1\">th\xC3\xA8me "
        "<em>sombre</em></i></p>\n<hr>\n";
    std::string page =
        "<html><head><meta charset=\"utf-8\"><link rel=\"stylesheet\" "
        "href=\"s.css\"><title>Page</title></head><body>\n";
    while (page.size() < bytes) page += kBlock;
    return page + "</body></html>\n";
}

void BM_NormalisePage(benchmark::State& state) {
    const std::string page = loosePage(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::string text = page;
        qv::normalisePage(text);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(page.size()));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_NormalisePage)->RangeMultiplier(8)->Range(4 << 10, 16 << 20)->Complexity();

void BM_TidyText(benchmark::State& state) {
    // A title as the parser hands it: words between long runs of blanks.
    std::string title = " \t\n  Chapitre ";
    while (title.size() < static_cast<std::size_t>(state.range(0))) title += "mot \t \n \t ";
    title += " :. ";
    for (auto _ : state) {
        std::string text = title;
        qv::tidyText(text);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(title.size()));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_TidyText)->RangeMultiplier(16)->Range(64, 1 << 20)->Complexity();

void BM_Utf8ToCp1252(benchmark::State& state) {
    std::string value;
    while (value.size() < static_cast<std::size_t>(state.range(0))) {
        value += "R\xC3\xA9glages de la fen\xC3\xAAtre \xE2\x80\x94 \xC5\x93uvre \xE2\x82\xAC ";
    }
    for (auto _ : state) benchmark::DoNotOptimize(qv::utf8ToCp1252(value));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(value.size()));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Utf8ToCp1252)->RangeMultiplier(16)->Range(64, 1 << 20)->Complexity();

std::string cp1252Title(std::size_t bytes) {
    std::string text;
    while (text.size() < bytes) text += "R\xE9glages & \"options\" <\xE9t\xE9> \x80 \x9C\xA0 ";
    return text;
}

void BM_EncodeEntities(benchmark::State& state) {
    const std::string title = cp1252Title(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::string out;
        qv::appendEntities(out, title);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(title.size()));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_EncodeEntities)->RangeMultiplier(16)->Range(64, 1 << 20)->Complexity();

void BM_EncodeUtf8Html(benchmark::State& state) {
    const std::string title = cp1252Title(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        std::string out;
        qv::appendUtf8Html(out, title);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(title.size()));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_EncodeUtf8Html)->RangeMultiplier(16)->Range(64, 1 << 20)->Complexity();

void BM_FoldLineEnds(benchmark::State& state) {
    std::string lines;
    while (lines.size() < static_cast<std::size_t>(state.range(0))) lines += "une ligne\r\n\r";
    for (auto _ : state) {
        std::string text = lines;
        qv::foldLineEnds(text);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_FoldLineEnds)->RangeMultiplier(8)->Range(4 << 10, 16 << 20)->Complexity();

std::string keywordTitle(int number) { return "mot-cl\xE9 " + std::to_string(number); }

// The ix path lookup under a parent that already has N children: the time of
// one lookup must not grow with N beyond what the caches make of a larger
// table (the first lookup builds the parent's table, before the timing).
void BM_KeywordLookup(benchmark::State& state) {
    const int children = static_cast<int>(state.range(0));
    qv::TopicNode root;
    qv::KeywordIndex keywords(root);
    qv::TopicNode& parent = root.appendChild();
    std::vector<std::string> titles;
    for (int i = 0; i < children; ++i) {
        qv::TopicNode& child = parent.appendChild();
        child.title = keywordTitle(i);
        titles.push_back(child.title);
    }
    std::shuffle(titles.begin(), titles.end(), std::mt19937(7));
    keywords.findChild(parent, titles[0]);  // builds the table, untimed
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(keywords.findChild(parent, titles[next]));
        if (++next == titles.size()) next = 0;
    }
    state.SetComplexityN(children);
}
BENCHMARK(BM_KeywordLookup)->RangeMultiplier(10)->Range(10, 1000000)->Complexity();

class NullStream : public qv::TextStream {
    void writeRaw(const char*, std::size_t) override {}
};

// Sorting N keywords under one parent with sortIndex (which opens the
// collator, as a run does once), then writing them to nowhere.
void BM_IndexSort(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    qv::TopicNode root;
    std::mt19937 random(11);
    for (auto _ : state) {
        state.PauseTiming();
        root.children.clear();
        for (int i = 0; i < count; ++i) {
            qv::TopicNode& child = root.appendChild();
            child.title = keywordTitle(static_cast<int>(random() % (count * 4u)));
            if (i % 3 == 0) child.title[0] = 'M';  // case differences sort together
            child.file = "pages/p.html";
        }
        NullStream out;
        state.ResumeTiming();
        qv::sortIndex(root);
        qv::writeIndexSitemap(root, "", out);
    }
    state.SetComplexityN(count);
}
BENCHMARK(BM_IndexSort)
    ->RangeMultiplier(10)
    ->Range(100, 100000)
    ->Complexity(benchmark::oNLogN)
    ->Unit(benchmark::kMillisecond);

// The index order two ways for 200k distinct keywords: one collation key per
// keyword then a byte-wise sort (what sortIndex does), or a sort whose every
// comparison asks ICU (ucol_strcoll). Arg 0: keys, 1: strcoll.
void BM_CollationKeysOrStrcoll(benchmark::State& state) {
    constexpr int kCount = 200000;
    std::mt19937 random(5);
    std::vector<std::u16string> titles;
    for (int i = 0; i < kCount; ++i) {
        const std::string title = keywordTitle(static_cast<int>(random() % (kCount * 4u)));
        std::u16string units;
        for (char c : title) units.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
        titles.push_back(std::move(units));
    }
    UErrorCode error = U_ZERO_ERROR;
    UCollator* collator = ucol_open("fr", &error);
    ucol_setStrength(collator, UCOL_SECONDARY);
    for (auto _ : state) {
        std::vector<std::size_t> order(titles.size());
        std::iota(order.begin(), order.end(), 0);
        if (state.range(0) == 0) {
            std::vector<std::string> keys(titles.size());
            for (std::size_t i = 0; i < titles.size(); ++i) {
                uint8_t key[512];
                const int32_t length =
                    ucol_getSortKey(collator, titles[i].data(),
                                    static_cast<int32_t>(titles[i].size()), key, sizeof key);
                keys[i].assign(reinterpret_cast<const char*>(key),
                               static_cast<std::size_t>(length));
            }
            std::stable_sort(order.begin(), order.end(),
                             [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
        } else {
            std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
                return ucol_strcoll(collator, titles[a].data(),
                                    static_cast<int32_t>(titles[a].size()), titles[b].data(),
                                    static_cast<int32_t>(titles[b].size())) == UCOL_LESS;
            });
        }
        benchmark::DoNotOptimize(order.data());
    }
    ucol_close(collator);
}
BENCHMARK(BM_CollationKeysOrStrcoll)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
