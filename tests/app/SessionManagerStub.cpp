// A minimal X session manager (XSMP over ICE, from libSM and libICE) for the
// desktop end-to-end test: it lets one client register and, on commands read
// from standard input, asks it to save itself.
//
//   checkpoint   SaveYourself (save both, no shutdown), then SaveComplete
//   logoff       SaveYourself (save both, shutdown), then Die
//   quit         ends the manager
//
// It writes one line per event to standard output, flushed at once:
//   listening NETWORK_IDS     (the value for SESSION_MANAGER), first
//   registered CLIENT_ID
//   property NAME VALUE       CARD8 values as numbers, lists joined by spaces
//   save-yourself-done 0|1
//   die-sent
//   closed
// Authentication is host-based: the test points ICEAUTHORITY at an empty file.
// The manager ends itself after ten minutes, so a broken test leaves nothing.

#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

struct Manager {
    IceConn Connection = nullptr;
    SmsConn Client = nullptr;
    bool ShuttingDown = false;
    bool Closed = false;
};

Manager g_Manager;

// libSM and libICE hand out memory from malloc, to be given back with free.
void FreeLibraryMemory(void* memory) {
    std::free(memory); // NOLINT(cppcoreguidelines-no-malloc)
}

void Say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

std::string PropertyValue(const SmProp& property) {
    if (std::strcmp(property.type, SmCARD8) == 0 && property.num_vals > 0 && property.vals[0].length > 0) {
        return std::to_string(*static_cast<const unsigned char*>(property.vals[0].value));
    }
    std::string value;
    for (int i = 0; i < property.num_vals; ++i) {
        if (i > 0) {
            value += ' ';
        }
        value.append(static_cast<const char*>(property.vals[i].value),
                     static_cast<std::size_t>(property.vals[i].length));
    }
    return value;
}

Status RegisterClient(SmsConn client, SmPointer /*data*/, char* previousId) {
    char* id = SmsGenerateClientID(client);
    std::string text = id != nullptr ? id : "1velmar-test-client";
    FreeLibraryMemory(id);
    FreeLibraryMemory(previousId);
    std::vector<char> reply(text.begin(), text.end());
    reply.push_back('\0');
    SmsRegisterClientReply(client, reply.data());
    Say("registered " + text);
    return 1;
}

void InteractRequest(SmsConn client, SmPointer /*data*/, int /*dialogType*/) {
    SmsInteract(client);
}

void InteractDone(SmsConn /*client*/, SmPointer /*data*/, Bool /*cancelShutdown*/) {}

void SaveYourselfRequest(SmsConn /*client*/, SmPointer /*data*/, int /*saveType*/, Bool /*shutdown*/,
                         int /*interactStyle*/, Bool /*fast*/, Bool /*global*/) {}

void SaveYourselfPhase2Request(SmsConn client, SmPointer /*data*/) {
    SmsSaveYourselfPhase2(client);
}

void SaveYourselfDone(SmsConn client, SmPointer /*data*/, Bool success) {
    Say(std::string("save-yourself-done ") + (success ? "1" : "0"));
    if (g_Manager.ShuttingDown) {
        SmsDie(client);
        Say("die-sent");
    } else {
        SmsSaveComplete(client);
    }
}

void CloseConnection(SmsConn client, SmPointer /*data*/, int count, char** reasons) {
    SmFreeReasons(count, reasons);
    SmsCleanUp(client);
    g_Manager.Client = nullptr;
    g_Manager.Closed = true;
}

void SetProperties(SmsConn /*client*/, SmPointer /*data*/, int count, SmProp** properties) {
    for (int i = 0; i < count; ++i) {
        Say(std::string("property ") + properties[i]->name + " " + PropertyValue(*properties[i]));
        SmFreeProperty(properties[i]);
    }
    FreeLibraryMemory(static_cast<void*>(properties));
}

void DeleteProperties(SmsConn /*client*/, SmPointer /*data*/, int count, char** names) {
    for (int i = 0; i < count; ++i) {
        FreeLibraryMemory(names[i]);
    }
    FreeLibraryMemory(static_cast<void*>(names));
}

void GetProperties(SmsConn client, SmPointer /*data*/) {
    SmsReturnProperties(client, 0, nullptr);
}

Status NewClient(SmsConn client, SmPointer /*data*/, unsigned long* mask, SmsCallbacks* callbacks,
                 char** /*failureReason*/) {
    g_Manager.Client = client;
    *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
            SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask | SmsSaveYourselfDoneProcMask |
            SmsCloseConnectionProcMask | SmsSetPropertiesProcMask | SmsDeletePropertiesProcMask |
            SmsGetPropertiesProcMask;
    callbacks->register_client.callback = RegisterClient;
    callbacks->interact_request.callback = InteractRequest;
    callbacks->interact_done.callback = InteractDone;
    callbacks->save_yourself_request.callback = SaveYourselfRequest;
    callbacks->save_yourself_phase2_request.callback = SaveYourselfPhase2Request;
    callbacks->save_yourself_done.callback = SaveYourselfDone;
    callbacks->close_connection.callback = CloseConnection;
    callbacks->set_properties.callback = SetProperties;
    callbacks->delete_properties.callback = DeleteProperties;
    callbacks->get_properties.callback = GetProperties;
    return 1;
}

Bool AcceptLocalHosts(char* /*hostName*/) {
    return True;
}

// The default handler ends the process when a client goes away.
void IgnoreIoError(IceConn /*connection*/) {}

void ConnectionLost() {
    if (g_Manager.Client != nullptr) {
        SmsCleanUp(g_Manager.Client);
        g_Manager.Client = nullptr;
    }
    IceSetShutdownNegotiation(g_Manager.Connection, False);
    IceCloseConnection(g_Manager.Connection);
    g_Manager.Connection = nullptr;
    g_Manager.Closed = true;
}

bool RunCommand(const std::string& command) {
    if (command == "quit") {
        return false;
    }
    if (g_Manager.Client == nullptr) {
        Say("error no client for " + command);
        return true;
    }
    if (command == "checkpoint" || command == "logoff") {
        g_Manager.ShuttingDown = command == "logoff";
        SmsSaveYourself(g_Manager.Client, SmSaveBoth, g_Manager.ShuttingDown ? True : False,
                        SmInteractStyleNone, False);
    } else {
        Say("error unknown command " + command);
    }
    return true;
}

} // namespace

int main() {
    alarm(600);
    IceSetIOErrorHandler(IgnoreIoError);
    std::array<char, 256> error{};
    if (SmsInitialize("velmar-test", "1.0", NewClient, nullptr, AcceptLocalHosts, error.size(),
                      error.data()) == 0) {
        std::fprintf(stderr, "SmsInitialize: %s\n", error.data());
        return 1;
    }
    int listenCount = 0;
    IceListenObj* listeners = nullptr;
    if (IceListenForConnections(&listenCount, &listeners, error.size(), error.data()) == 0) {
        std::fprintf(stderr, "IceListenForConnections: %s\n", error.data());
        return 1;
    }
    for (int i = 0; i < listenCount; ++i) {
        IceSetHostBasedAuthProc(listeners[i], AcceptLocalHosts);
    }
    char* ids = IceComposeNetworkIdList(listenCount, listeners);
    Say(std::string("listening ") + ids);
    FreeLibraryMemory(ids);

    std::string input;
    bool running = true;
    while (running) {
        std::vector<pollfd> fds;
        fds.push_back({STDIN_FILENO, POLLIN, 0});
        for (int i = 0; i < listenCount; ++i) {
            fds.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
        }
        if (g_Manager.Connection != nullptr) {
            fds.push_back({IceConnectionNumber(g_Manager.Connection), POLLIN, 0});
        }
        if (poll(fds.data(), fds.size(), -1) < 0) {
            continue;
        }
        if ((fds[0].revents & (POLLIN | POLLHUP)) != 0) {
            std::array<char, 256> buffer{};
            const ssize_t n = read(STDIN_FILENO, buffer.data(), buffer.size());
            if (n <= 0) {
                break;
            }
            input.append(buffer.data(), static_cast<std::size_t>(n));
            for (auto end = input.find('\n'); running && end != std::string::npos; end = input.find('\n')) {
                running = RunCommand(input.substr(0, end));
                input.erase(0, end + 1);
            }
        }
        for (int i = 0; i < listenCount; ++i) {
            if ((fds[static_cast<std::size_t>(i) + 1].revents & POLLIN) == 0 ||
                g_Manager.Connection != nullptr) {
                continue;
            }
            IceAcceptStatus status{};
            g_Manager.Connection = IceAcceptConnection(listeners[i], &status);
            if (g_Manager.Connection == nullptr) {
                Say("error accept");
            }
        }
        if (g_Manager.Connection != nullptr && fds.size() > static_cast<std::size_t>(listenCount) + 1 &&
            (fds.back().revents & (POLLIN | POLLHUP | POLLERR)) != 0) {
            if (IceProcessMessages(g_Manager.Connection, nullptr, nullptr) == IceProcessMessagesIOError) {
                ConnectionLost();
            }
        }
        if (g_Manager.Closed) {
            Say("closed");
            g_Manager.Closed = false;
            if (g_Manager.Connection != nullptr) {
                IceCloseConnection(g_Manager.Connection);
                g_Manager.Connection = nullptr;
            }
        }
    }
    IceFreeListenObjs(listenCount, listeners);
    return 0;
}
