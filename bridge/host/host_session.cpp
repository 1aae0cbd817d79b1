#include "bridge/host/host_session.h"

#include "bridge/host/host_texts.h"
#include "bridge/host/request.h"
#include "catalogue/substitution.h"
#include "common/utf.h"

HostSession::HostSession(HostPlatform& platform, bool callerAllowed, WriteMessage write)
    : platform_(platform), callerAllowed_(callerAllowed), write_(std::move(write)) {}

HostSession::Snapshot HostSession::TakeSnapshot() {
  const CatalogueSnapshot catalogue = platform_.ReadCatalogue();
  Snapshot snapshot;
  snapshot.read = catalogue.read;
  for (const ItemRecord& record : catalogue.items) {
    snapshot.items.push_back(ListedItemOf(record, Utf16ToUtf8(platform_.AnsiToUtf16(record.ItemName))));
  }
  snapshot.version = ListVersion(catalogue.settingsBytes, snapshot.items);
  return snapshot;
}

void HostSession::Refuse(const std::string& messageUtf8) { write_(ErrorAnswer(messageUtf8)); }

void HostSession::Answer(std::string_view body) {
  if (!callerAllowed_) return Refuse(host_texts::RefusedCaller());
  const ParsedRequest parsed = ParseRequest(body);
  if (!parsed.request) return Refuse(parsed.error);
  if (parsed.request->type == RequestType::Pick) return Pick(*parsed.request);

  std::lock_guard<std::mutex> guard(itemsLock_);
  const Snapshot snapshot = TakeSnapshot();
  if (!snapshot.read) return Refuse(host_texts::SettingsUnreadable());
  const std::string answer = ItemsAnswer(snapshot.items, snapshot.version);
  // The browser drops a message beyond 1 MiB and the port with it.
  if (answer.size() > kMaxMessageBytes) return Refuse(host_texts::TooManyItems());
  lastVersion_ = snapshot.version;
  write_(answer);
}

void HostSession::Pick(const Request& request) {
  ItemRecord item;
  bool found = false;
  {
    std::lock_guard<std::mutex> guard(itemsLock_);
    CatalogueSnapshot catalogue = platform_.ReadCatalogue();
    if (!catalogue.read) return Refuse(host_texts::SettingsUnreadable());
    for (ItemRecord& record : catalogue.items) {
      // Names are compared exactly, as Orbisk compares them.
      if (Utf16ToUtf8(platform_.AnsiToUtf16(record.ItemName)) == request.name) {
        item = std::move(record);
        found = true;
        break;
      }
    }
  }
  if (!found) return Refuse(host_texts::UnknownItem());
  const Clock clock = [this] { return platform_.Now(); };
  if (item.FixedString == 1) {
    return write_(
        TextAnswer(Utf16ToUtf8(SubstituteFixedString(platform_.AnsiToUtf16(item.Argments), clock))));
  }
  PageFacts16 facts;
  for (int f = 0; f < kFactCount; ++f) facts.values[f] = Utf8ToUtf16(request.factsUtf8[f]);
  const LaunchSystem system = {
      [this](std::string_view ansi) { return platform_.AnsiToUtf16(ansi); },
      [this](const std::u16string& application) { return platform_.KindOfProgram(application); },
      [this](std::u16string_view text) { return platform_.AsCodePageHoldsIt(text); },
      {[this](std::u16string_view text) { return platform_.ToSystemAnsi(text); },
       [this](unsigned char byte) { return platform_.IsSystemLeadByte(byte); }},
      [this] { return platform_.SystemCmd(); },
      [this](const std::u16string& path) { return platform_.BatchFileText(path); },
  };
  const LaunchPlan plan = PlanLaunch(item, facts, clock, system);
  if (plan.refusal != LineRefusal::None) return Refuse(host_texts::Refused(plan.refusal));
  switch (platform_.Launch(plan)) {
    case LaunchResult::Started:
      return write_(StartedAnswer());
    case LaunchResult::Confirmed:
      return write_(ConfirmedAnswer());
    case LaunchResult::Failed:
      return Refuse(host_texts::StartFailed());
  }
}

void HostSession::SendItemsIfChanged() {
  if (!callerAllowed_) return;
  std::lock_guard<std::mutex> guard(itemsLock_);
  const Snapshot snapshot = TakeSnapshot();
  // A file that cannot be read just now is no news: the next change says more.
  if (!snapshot.read) return;
  if (lastVersion_.empty()) {
    lastVersion_ = snapshot.version;
    return;
  }
  if (snapshot.version == lastVersion_) return;
  const std::string message = ItemsAnswer(snapshot.items, snapshot.version);
  if (message.size() > kMaxMessageBytes) return;
  lastVersion_ = snapshot.version;
  write_(message);
}

void ServeMessages(const ReadSome& read, HostSession& session,
                   const std::function<void()>& afterFirstAnswer) {
  bool answered = false;
  for (;;) {
    const Frame frame = ReadFrame(read);
    if (frame.kind == FrameKind::End) return;
    if (frame.kind == FrameKind::Message) {
      session.Answer(frame.body);
    } else if (frame.kind == FrameKind::TooLong) {
      session.Refuse(host_texts::TooLong());
    } else {
      session.Refuse(host_texts::Truncated());
    }
    if (!answered) {
      answered = true;
      if (afterFirstAnswer) afterFirstAnswer();
    }
    // A refused body is read and dropped, so that the next frame is found.
    if (frame.kind == FrameKind::TooLong && !SkipBytes(read, frame.length)) return;
    if (frame.kind == FrameKind::Truncated) return;
  }
}
