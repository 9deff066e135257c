#include "messages.h"

namespace messages {

std::string_view problem(sim::Fault fault)
{
    switch (fault) {
    case sim::Fault::invalid:
        return "犬がねずみにぴったり重なったので、これ以上計算できません。\n"
               "［初期化］をクリックして、最初からやり直してください。";
    case sim::Fault::divisionByZero:
        return "計算の途中で０で割ることになったので、先へ進めません。\n"
               "入力した数字を確かめて、［初期化］をクリックしてください。";
    case sim::Fault::overflow:
        return "数が大きすぎて計算できません。\n"
               "ネズミの速度ｕ・犬の速度ｖ・単位時間hの数字を確かめてください。";
    case sim::Fault::none:
        break;
    }
    return {};
}

} // namespace messages
