// The downloader's rules over the T-310 serial link: open on the port chosen in the settings (or
// found now), the "[" handshake as set-up, and plain exchanges of a command or record line for a
// six-character reply.
#pragma once

#include "flash/CZarnflashLink.h"
#include "meter/CCommT310.h"

#include <memory>
#include <string>

class CZarnflashSerialLink final : public CZarnflashLink {
public:
    explicit CZarnflashSerialLink(std::unique_ptr<CCommT310> link);

    BOOL Open(const std::string& port, int* err) override;
    BOOL Prepare(int* err) override;
    BOOL Transact(const std::string& command, std::string* reply) override;
    BOOL Close() override;

    CCommT310& Link() { return *link_; }

private:
    std::unique_ptr<CCommT310> link_;
};
