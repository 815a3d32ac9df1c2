// kvx50-cli print: the print-out as a PDF file, read back with pdftotext.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "SimProcess.h"
#include "core/files/DataFile.h"
#include "core/files/Workspace.h"
#include "core/image/Tones.h"
#include "support/ScriptedPrompts.h"

namespace kvx {
namespace {

struct ProcessRun {
  int exit = -1;
  std::string out, err;
};

class PrintCli : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (std::filesystem::temp_directory_path() / "kvx50-print-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  std::string Path(const std::string& name) const { return dir_ + "/" + name; }

  ProcessRun Exec(const std::vector<std::string>& all) {
    const test::ProcessResult p = test::RunProgram(all);
    return {p.exitCode, p.out, p.err};
  }

  ProcessRun Cli(std::vector<std::string> args) {
    std::vector<std::string> all = {std::string(KVX50_BIN_DIR) + "/kvx50-cli", "--home",
                                    Path("home")};
    all.insert(all.end(), args.begin(), args.end());
    return Exec(all);
  }

  // Prints `file` and returns the text of each page (pdftotext -layout).
  std::vector<std::string> PrintPages(const std::string& file, std::vector<std::string> options) {
    std::vector<std::string> args = {"print", file, "--pdf", Path("out.pdf")};
    args.insert(args.end(), options.begin(), options.end());
    const ProcessRun r = Cli(args);
    EXPECT_EQ(r.exit, 0) << r.err;
    const ProcessRun text = Exec({"pdftotext", "-layout", Path("out.pdf"), "-"});
    EXPECT_EQ(text.exit, 0) << text.err;
    std::vector<std::string> pages;
    std::string page;
    std::istringstream in(text.out);
    while (std::getline(in, page, '\f'))
      if (!page.empty()) pages.push_back(page);
    return pages;
  }

  Workspace Fresh() {
    Workspace ws;
    ws.app.ProgramFolder = KVX50_BIN_DIR;
    ResetWorkingData(ws);
    return ws;
  }
  void Save(Workspace& ws, const std::string& path) {
    test::ScriptedPrompts p;
    p.saveNames.push_back(path);
    p.filePasswords.push_back("");
    ASSERT_TRUE(SaveAs(ws, p));
  }

  std::string dir_;
};

size_t Count(const std::string& text, const std::string& what) {
  size_t n = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// The page number the footer of a page shows: its last line, "- N -".
std::string Footer(const std::string& page) {
  std::istringstream in(page);
  std::string last;
  for (std::string line; std::getline(in, line);)
    if (line.find_first_not_of(' ') != std::string::npos) last = line;
  std::erase(last, ' ');
  return last;
}

// The lines of a page, each split into its words.
std::vector<std::vector<std::string>> Words(const std::string& page) {
  std::vector<std::vector<std::string>> lines;
  std::istringstream in(page);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    lines.emplace_back();
    for (std::string w; words >> w;) lines.back().push_back(w);
  }
  return lines;
}

// Twelve channels (1-10, CALL, VFO); channel 3 has DCS 023 on receive and DTMF code M2.
Workspace TwelveChannels(Workspace ws) {
  ws.channels = ChannelList{};
  for (int n : {7, 1, 2, 3, 4, 5, 6, 8, 9, 10, 203, 204}) {
    ChannelRecord c = DefaultChannel(n, ws.app);
    if (n == 3) {
      c.ToneAType = ToneDcs;
      c.ToneADcs = 023;  // octal, as DCS codes are named
      c.Signalling = 1;
      c.DtmfCode = 1;
    }
    c.TxInhibit = n == 5 ? 1 : 0;
    ws.channels.AppendChannel(c);
  }
  return ws;
}

TEST_F(PrintCli, TwelveChannelsPrintFiveToAPageWithTheGridForms) {
  Workspace ws = TwelveChannels(Fresh());
  Save(ws, Path("twelve.dat"));
  const auto pages = PrintPages(Path("twelve.dat"), {"--sections", "0"});
  ASSERT_EQ(pages.size(), 3u);
  const size_t perPage[3] = {5, 5, 2};
  for (size_t p = 0; p < 3; ++p) {
    EXPECT_EQ(Count(pages[p], "RX Frequency"), perPage[p]) << pages[p];
    EXPECT_EQ(Count(pages[p], "Channel Infomation"), 1u);
    EXPECT_EQ(Footer(pages[p]), "-" + std::to_string(p + 1) + "-");
  }
  // Sorted by number, shown as the grid shows them (number - 1 on this model).
  const std::vector<std::string> shown[3] = {
      {"0", "1", "2", "3", "4"}, {"5", "6", "7", "8", "9"}, {"CALL", "VFO"}};
  for (size_t p = 0; p < 3; ++p) {
    std::vector<std::string> heads;
    for (const auto& line : Words(pages[p]))
      if (line.size() > 1 && line[0] == "CH") heads.push_back(line[1]);
    EXPECT_EQ(heads, shown[p]);
  }
  EXPECT_EQ(Count(pages[0], "D023N"), 1u);
  EXPECT_EQ(Count(pages[0], "DTMF M2"), 1u);
  // Check boxes: "TX Inhibit" of channel 5 (shown as 4) only is ON.
  size_t on = 0, off = 0;
  for (const auto& line : Words(pages[0])) {
    for (size_t i = 0; i + 2 < line.size(); ++i) {
      if (line[i] == "TX" && line[i + 1] == "Inhibit") (line[i + 2] == "ON" ? on : off)++;
    }
  }
  EXPECT_EQ(on, 1u);
  EXPECT_EQ(off, 4u);
}

TEST_F(PrintCli, HeaderOnEveryPageAndPageNumbersRunOnAcrossSections) {
  Workspace ws = Fresh();
  ws.settings.Alert.LoneWorkerDetect = 1;
  Save(ws, Path("hdr.dat"));
  // Named in the other order; printed in item order: radio information, then alert.
  const auto pages = PrintPages(Path("hdr.dat"), {"--sections", "9,8"});
  ASSERT_EQ(pages.size(), 2u);
  for (const std::string& page : pages) {
    for (const char* text :
         {"KV_X50_WQN7 Radio Programming Information", "Model Type", "KV-510_WQN7", "Frequency",
          "File Name", "hdr.dat", "Rx(136 - 174.00000 MHz) Tx(136 - 174.00000 MHz)"})
      EXPECT_NE(page.find(text), std::string::npos) << text << "\n" << page;
  }
  EXPECT_NE(pages[0].find("Embedded Message"), std::string::npos);
  EXPECT_EQ(Footer(pages[0]), "-1-");
  EXPECT_NE(pages[1].find("Emergency Alarm"), std::string::npos);
  EXPECT_EQ(Footer(pages[1]), "-2-");
  // The alert rows in the window's order, the hidden channel group left out, the lone-worker
  // frame after them with its check box as ON.
  const std::string& alert = pages[1];
  const char* order[] = {"Emergency Mode",    "ID Code Type",          "Alarm Time",
                         "Channel Selection", "Emergency Channel",     "Cycle",
                         "Lone Worker",       "Lone Worker Detection", "Pre-alert Time",
                         "Response Time"};
  size_t at = 0;
  for (const char* label : order) {
    const size_t found = alert.find(label, at);
    ASSERT_NE(found, std::string::npos) << label << "\n" << alert;
    at = found + 1;
  }
  EXPECT_EQ(alert.find("Emergency Channel Group"), std::string::npos);
  bool detectionOn = false;
  for (const auto& line : Words(alert))
    if (line.size() == 4 && line[2] == "Detection") detectionOn = line[3] == "ON";
  EXPECT_TRUE(detectionOn) << alert;
}

TEST_F(PrintCli, BookPrintsThreeGroupsTheThirdEndingAfterLine27) {
  Workspace ws = Fresh();
  for (size_t e = 0; e < BookEntries::kEntries; ++e) {
    BookEntry& entry = ws.settings.Book.entries[e];
    entry.EntryNo = static_cast<int16_t>(e);
    SetBookText(entry.CallId, std::to_string(10000 + e));  // already in sorted order
    SetBookText(entry.EntryName, "N" + std::to_string(e));
  }
  Save(ws, Path("book.dat"));
  const auto pages = PrintPages(Path("book.dat"), {"--sections", "7"});
  ASSERT_EQ(pages.size(), 1u);
  int rows = 0;
  for (const auto& line : Words(pages[0])) {
    if (line.empty() || line[0] == "No." || line.size() % 3 != 0) continue;
    if (line[1].size() != 5 || line[1][0] != '1') continue;  // not a book line
    const int k = std::stoi(line[0]);
    ++rows;
    const size_t groups = k <= 27 ? 3 : 2;
    ASSERT_EQ(line.size(), 3 * groups) << k;
    for (size_t g = 0; g < groups; ++g) {
      const int e = k + 50 * static_cast<int>(g);
      EXPECT_EQ(line[3 * g], std::to_string(e));
      EXPECT_EQ(line[3 * g + 1], std::to_string(10000 + e));
      EXPECT_EQ(line[3 * g + 2], "N" + std::to_string(e));
    }
  }
  EXPECT_EQ(rows, 50);
  EXPECT_EQ(Count(pages[0], "Call ID"), 3u);
}

TEST_F(PrintCli, ChinesePrintOut) {
  Workspace ws = Fresh();
  NewDefaultChannels(ws.channels, ws.app);
  Save(ws, Path("zh.dat"));
  const auto pages = PrintPages(Path("zh.dat"), {"--sections", "0,9", "--language", "zh"});
  ASSERT_EQ(pages.size(), 2u);
  // (Characters whose glyph the font shares with a radical, such as the first of the file
  // label, come back from the PDF as the radical: the texts checked avoid them.)
  for (const char* text : {"KV_X50_WQN7 对讲机编程信息", "机型类型", "频率"})
    EXPECT_NE(pages[0].find(text), std::string::npos) << text << "\n" << pages[0];
  EXPECT_NE(pages[0].find("信道信息"), std::string::npos) << pages[0];
  EXPECT_NE(pages[1].find("报警模式"), std::string::npos) << pages[1];
  EXPECT_NE(pages[1].find("关"), std::string::npos);
  EXPECT_EQ(pages[1].find("OFF"), std::string::npos);
}

TEST_F(PrintCli, RefusesBadRequestsAndLeavesNoFile) {
  Workspace ws = Fresh();
  Save(ws, Path("ok.dat"));
  struct Case {
    std::vector<std::string> args;
    int exit;
  };
  const Case cases[] = {
      {{"print", Path("ok.dat"), "--pdf", Path("x.pdf"), "--sections", "1"}, 2},
      {{"print", Path("ok.dat"), "--pdf", Path("x.pdf"), "--sections", ""}, 2},
      {{"print", Path("ok.dat")}, 2},
      {{"print", Path("ok.dat"), "--pdf", Path("x.pdf"), "--language", "fr"}, 2},
      {{"print", Path("missing.dat"), "--pdf", Path("x.pdf")}, 1},
      {{"print", Path("ok.dat"), "--pdf", Path("no/such/folder/x.pdf")}, 1},
  };
  for (const Case& c : cases) {
    const ProcessRun r = Cli(c.args);
    EXPECT_EQ(r.exit, c.exit) << c.args.back() << "\n" << r.err;
    EXPECT_FALSE(r.err.empty());
  }
  EXPECT_FALSE(std::filesystem::exists(Path("x.pdf")));
  EXPECT_FALSE(std::filesystem::exists(Path("no/such/folder/x.pdf")));

  // A good print replaces an old file whole.
  ASSERT_EQ(Cli({"print", Path("ok.dat"), "--pdf", Path("x.pdf"), "--sections", "9"}).exit, 0);
  const auto size = std::filesystem::file_size(Path("x.pdf"));
  EXPECT_GT(size, 1000u);
  EXPECT_FALSE(std::filesystem::exists(Path("x.pdf.part")));
}

}  // namespace
}  // namespace kvx
