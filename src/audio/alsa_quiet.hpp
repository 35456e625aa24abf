// Keeps libasound's own messages off stderr while SDL looks for a sound device, so a machine
// without one hears from the game in one line only.
#pragma once

namespace qm {

// While one lives, libasound's error messages are swallowed; the default printing returns after.
// Where libasound is not installed it does nothing.
class QuietAlsa final {
public:
    QuietAlsa();
    ~QuietAlsa();
    QuietAlsa(const QuietAlsa&) = delete;
    QuietAlsa& operator=(const QuietAlsa&) = delete;

private:
    void* library_ = nullptr;
};

}  // namespace qm
