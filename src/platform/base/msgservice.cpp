#include "platform/base/msgservice.h"

namespace {
class SilentService : public MessageService {
 public:
  int msgBox(const std::string&, int style, const std::string&) override {
    return (style & 7) == vb::vbYesNo ? vb::vbYes : vb::vbOK;
  }
  void playWave(const std::string&) override {}
};
SilentService gSilent;
MessageService* gService = nullptr;
}  // namespace

MessageService& messageService() { return gService ? *gService : gSilent; }
void setMessageService(MessageService* service) { gService = service; }
