#pragma once
// A Pendax device on the scripted port (scripted_sys.h), brought up as the host brings it up: the
// host's logger, storages and option lines, then init. What the box behind the port answers is
// the test's to say.

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

    // What the box does on an identification request, a data request and its set-up command. By
    // default it answers at once as a KT512 at rest: its identification, a packet of its inputs,
    // and 'a' with a line feed.
    std::function<void()> onIdentify = [] {
        scripted_sys::send(identificationReply(BoardIdentity::kt512()));
    };
    std::function<void()> onRequest = [] {
        scripted_sys::send(dataPacket(BoxSetup::powerOn(), BoxInputs::atRest()));
    };
    std::function<void()> onSetup = [] { scripted_sys::send(setupAnswer('a')); };

private:
    void hear(const std::string& written) {
        if (written.empty()) {
            return;
        }
        if (written == "T") {
            onIdentify();
        } else if (written == "o") {
            onRequest();
        } else {
            onSetup();
        }
    }
};
