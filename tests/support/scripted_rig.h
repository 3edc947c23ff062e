#pragma once
// A Pendax device on the scripted port (scripted_sys.h), brought up as the host brings it up: the
// host's logger, storages and option lines, then init. The box behind the port identifies itself
// as a KT512 and accepts its set-up; what it sends for a data request is the test's to say.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config_builder.h"
#include "device/pendax.h"
#include "host_storage.h"
#include "plain_logger.h"
#include "replies.h"
#include "scripted_sys.h"

class ScriptedRig {
public:
    using Lines = std::vector<std::vector<std::string>>;

    explicit ScriptedRig(const Lines& lines = {}) {
        for (const auto& words : lines) {
            config.add(words);
        }
        config.add({"port", scripted_sys::portName});
        scripted_sys::reset([this](const std::string& written) { hear(written); });
        device = std::make_unique<CPendax>(config.get(), &log);
    }

    std::int32_t init() {
        const InitInfo info{trackers.get(), controllers.get(), {}};
        return device->init(&info);
    }

    // One polling cycle, as the host runs it.
    std::int32_t poll() { return device->recvData(&masks, 0); }

    const ConData& slot() const { return controllers.controllerRecord(1); }

    CLogH log = plainLogger("s");
    HostStorage trackers{HostStorage::Kind::trackers, log};
    HostStorage controllers{HostStorage::Kind::controllers, log};
    ConfigBuilder config;
    std::unique_ptr<CPendax> device;
    ChangeMasks masks{};

    // What the box does on a data request, and on its set-up command (by default it answers at
    // once: a packet of its inputs at rest, and 'a' with a line feed).
    std::function<void()> onRequest = [] {
        scripted_sys::send(dataPacket(BoxSetup::powerOn(), BoxInputs::atRest()));
    };
    std::function<void()> onSetup = [] { scripted_sys::send(setupAnswer('a')); };
    BoardIdentity board = BoardIdentity::kt512();

private:
    void hear(const std::string& written) {
        if (written.empty()) {
            return;
        }
        if (written == "T") {
            scripted_sys::send(identificationReply(board));
        } else if (written == "o") {
            onRequest();
        } else {
            onSetup();
        }
    }
};
