#include "tests/support/Keys.h"

#include <string>

#include "headless/KeyNames.h"
#include "platform/console/IO.h"

namespace testsupport {

namespace {

Headless::KeyPress PressFor(std::string_view name) {
    Headless::KeyPress press;
    if (!Headless::KeyPressFor(name, press)) throw std::invalid_argument("no key is named " + std::string(name));
    return press;
}

void ThrowOnWait() { throw WaitedForKey(); }

}  // namespace

IO::KeyRecord KeyDown(std::string_view name) { return PressFor(name).down; }

void PostKey(const IO::KeyRecord& key) { IO::PostInput(IO::InputEvent{true, key}); }

void PostKeyDown(std::string_view name) { PostKey(KeyDown(name)); }

void PressKey(std::string_view name) {
    const Headless::KeyPress press = PressFor(name);
    PostKey(press.down);
    PostKey(press.up);
}

char FirstQueuedCharacter() {
    IO::InputEvent e;
    return IO::PeekInput(e) ? static_cast<char>(e.key.asciiChar) : '\0';
}

void ResetKeysWithoutWaiting() {
    IO::ClearInput();
    IO::ModuleInit();
    IO::SetWaitHook(ThrowOnWait);
}

}  // namespace testsupport
