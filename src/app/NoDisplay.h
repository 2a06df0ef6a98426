// What the game says, on the terminal, when it has no display to open its window on.
#pragma once

namespace kazoomba::app {

// From here until the returned guard goes, a Qt platform that cannot start ends the game with exit status 1
// and a sentence on standard error that says there is no display and how to run the game, instead of Qt's
// abort and its advice to reinstall. Qt's own warnings before that still reach standard error.
class NoDisplayExplained {
public:
    NoDisplayExplained();
    ~NoDisplayExplained();
    NoDisplayExplained(const NoDisplayExplained&) = delete;
    NoDisplayExplained& operator=(const NoDisplayExplained&) = delete;
};

}  // namespace kazoomba::app
