// The entry: hands the not-yet-started main task to the frame executor.
#include "game.hpp"
#include "time.hpp"

int main() {
    qm::spawn_with_until_executor(qm::main_task());
    return 0;
}
