#pragma once
// A scripted radio and a fake clock for driving the link state machine without a device:
// FakeLink performs the machine's actions the way the serial adapter does (echo, receive
// threshold over the whole buffer, a single-shot reply timer) with time advancing only when
// nothing else is due.
#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/link/LinkDriver.h"
#include "core/link/LinkMachine.h"
#include "core/link/Protocol.h"

namespace kvx::test {

// One piece of a reply, `delayMs` after the frame (or after the previous piece).
struct Piece {
  int delayMs = 2;
  Frame bytes;
};

struct TestRadio {
  std::array<uint8_t, 16384> memory{};
  std::string model = "KP-510";
  uint8_t band = 0x03;
  std::string version = "V100";
  uint8_t features = 0;
  uint8_t status = 0;
  bool echo = true;
  bool programming = false;
  bool answerFinalEnd = true;

  // A fault hook: called for every frame with its normal answer (empty: no answer); returns
  // the pieces to send instead, or nullopt for the normal answer.
  std::function<std::optional<std::vector<Piece>>(const Frame& frame, const Frame& answer)> fault;

  std::vector<Frame> seen;

  TestRadio() {
    for (size_t i = 0; i < memory.size(); ++i) memory[i] = static_cast<uint8_t>(i * 7 + 3);
    SetPassword("");
  }
  void SetPassword(std::string_view pw) {
    for (size_t i = 0; i < 4; ++i)
      memory[0x4C + i] = pw.empty() ? 0xFF : (i < pw.size() ? static_cast<uint8_t>(pw[i]) : 0x00);
  }

  Frame Answer(const Frame& f) {
    seen.push_back(f);
    Frame out;
    if (f.size() == 7 && f[0] == 'P') {
      programming = true;
      out = {'V', 'N', 0x06};
    } else if (f.size() == 3 && f[0] == 'E') {
      const bool wasLastBlock = lastBlock_;
      programming = false;
      if (answerFinalEnd || !wasLastBlock) out = {0x06};
    } else if (!programming) {
      return out;
    } else if (f.size() == 1 && f[0] == 0x02) {
      out.push_back('I');
      for (size_t i = 0; i < 7; ++i)
        out.push_back(i < model.size() ? static_cast<uint8_t>(model[i]) : 0xFF);
      out.push_back(band);
      for (size_t i = 0; i < 4; ++i)
        out.push_back(i < version.size() ? static_cast<uint8_t>(version[i]) : 0x00);
      out.push_back(features);
      out.push_back(status);
      out.push_back(0x06);
    } else if (f.size() == 4 && f[0] == 'R') {
      const uint16_t a = static_cast<uint16_t>((f[1] << 8) | f[2]);
      out = DataBlockFrame('W', a, ConstBytes(memory.data() + a, f[3]));
      lastBlock_ = a == 0x3FF0 || a == 0x00F0;
    } else if (f.size() == 22 && (f[0] == 'W' || f[0] == 'w')) {
      const uint16_t a = static_cast<uint16_t>((f[1] << 8) | f[2]);
      std::copy(f.begin() + 4, f.begin() + 20, memory.begin() + a);
      out = {0x06};
      lastBlock_ = a == 0x3FF0;
    }
    return out;
  }

 private:
  bool lastBlock_ = false;
};

class FakeLink : public LinkDriver {
 public:
  FakeLink(LinkMachine& machine, Prompts& prompts, TestRadio& radio)
      : LinkDriver(machine, prompts), radio_(radio) {}

  // Every action performed, by name ("Send R 0010", "ArmTimer", "Ask", ...), in order.
  std::vector<std::string> log;
  std::vector<Frame> sent;
  std::vector<int> progress;
  std::vector<std::string> savedPasswords;
  std::deque<bool> openResults;  // results of OpenPort, in order (default: opened)
  std::optional<LinkResult> finished;
  long now = 0;  // ms
  int opens = 0;
  bool portOpen = false;
  bool featuresChanged = false;

  // Runs until the link ends; false when it is still running after `maxEvents` events (a hang).
  bool RunToEnd(int maxEvents = 200000) {
    for (int i = 0; i < maxEvents; ++i) {
      if (!Machine().Running()) return true;
      auto next = std::min_element(pending_.begin(), pending_.end(),
                                   [](const auto& a, const auto& b) { return a.at < b.at; });
      const bool haveData = next != pending_.end();
      if (haveData && (!timer_ || next->at <= *timer_)) {
        now = next->at;
        Frame bytes = std::move(next->bytes);
        pending_.erase(next);
        rx_.insert(rx_.end(), bytes.begin(), bytes.end());
        if (threshold_ > 0 && rx_.size() >= threshold_) {
          Frame buffer = std::move(rx_);
          rx_.clear();
          BufferReached(buffer);
        }
      } else if (timer_) {
        now = *timer_;
        timer_.reset();
        TimerExpired();
      } else {
        return !Machine().Running();
      }
    }
    return false;
  }

 protected:
  bool OpenPort(std::string& reason) override {
    ++opens;
    bool ok = true;
    if (!openResults.empty()) {
      ok = openResults.front();
      openResults.pop_front();
    }
    log.push_back(ok ? "OpenPort" : "OpenPort failed");
    if (!ok) reason = "no such device";
    portOpen = ok;
    return ok;
  }
  void ClosePort() override {
    log.push_back("ClosePort");
    portOpen = false;
    rx_.clear();
  }
  void Send(const Frame& bytes, size_t threshold) override {
    sent.push_back(bytes);
    log.push_back("Send " + Describe(bytes));
    rx_.clear();
    threshold_ = threshold;
    if (!portOpen) return;
    long at = now;
    if (radio_.echo) pending_.push_back({at, bytes});
    const Frame answer = radio_.Answer(bytes);
    std::optional<std::vector<Piece>> pieces;
    if (radio_.fault) pieces = radio_.fault(bytes, answer);
    if (!pieces) {
      pieces.emplace();
      if (!answer.empty()) pieces->push_back({2, answer});
    }
    for (auto& p : *pieces) {
      at += p.delayMs;
      pending_.push_back({at, std::move(p.bytes)});
    }
  }
  void ArmTimer(int ms) override {
    log.push_back("ArmTimer");
    timer_ = now + ms;
  }
  void StopTimer() override {
    log.push_back("StopTimer");
    timer_.reset();
  }
  void ShowProgress(const std::string& title) override { log.push_back("ShowProgress " + title); }
  void Progress(int percent) override { progress.push_back(percent); }
  void CloseProgress() override { log.push_back("CloseProgress"); }
  void SavePassword(const std::string& pw) override { savedPasswords.push_back(pw); }
  void FeaturesChanged() override { featuresChanged = true; }
  void Finished(LinkResult result) override {
    log.push_back("Finish");
    finished = result;
  }

 public:
  static std::string Describe(const Frame& f) {
    char buf[32];
    if (f.size() == 7 && f[0] == 'P') return "PROGRAM";
    if (f.size() == 3 && f[0] == 'E') return "END";
    if (f.size() == 1 && f[0] == 0x02) return "IDENT";
    if (f.size() == 4 && f[0] == 'R') {
      std::snprintf(buf, sizeof buf, "R %02X%02X", f[1], f[2]);
      return buf;
    }
    if (f.size() >= 4) {
      std::snprintf(buf, sizeof buf, "%c %02X%02X", f[0], f[1], f[2]);
      return buf;
    }
    return "?";
  }

 private:
  struct Due {
    long at;
    Frame bytes;
  };
  TestRadio& radio_;
  std::vector<Due> pending_;
  Frame rx_;
  size_t threshold_ = 0;
  std::optional<long> timer_;
};

}  // namespace kvx::test
