#include "sim/pc/SimSystem.h"

#include <chrono>

namespace hw {

LocalTime SimSystem::Now() {
    using namespace std::chrono;
    const sys_days startDay{year{start.year} / start.month / start.day};
    const auto now = startDay + hours{start.hour} + minutes{start.minute} + seconds{start.second} +
                     milliseconds{clock_.NowMs()};
    const auto day = floor<days>(now);
    const year_month_day date{day};
    const hh_mm_ss time{floor<seconds>(now - day)};
    return {static_cast<int>(date.year()),
            static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day())),
            static_cast<int>(time.hours().count()),
            static_cast<int>(time.minutes().count()),
            static_cast<int>(time.seconds().count())};
}

}  // namespace hw
