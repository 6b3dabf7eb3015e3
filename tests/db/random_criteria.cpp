#include "random_criteria.h"

namespace planora::testing {

const std::vector<std::string> kCriteriaLiterals = {
    "'101'", "'SALA'", "'sala'",  "'s'",   "'a'", "'['",    "'_'",    "'`'",        "'Z'",
    "'c'",   "'CITT'", "'città'", "'ABC'", "''",  "'1''A'", "'2024'", "'20240315'", "'ÀB'"};

// A random criteria over the fields: comparisons both ways round, In lists, Is Null, Like,
// And, Or and Not.
std::string randomCriteria(std::mt19937& random, int depth) {
    auto pick = [&](const std::vector<std::string>& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
    };
    const std::vector<std::string> ops = {"=", "<>", "<", "<=", ">", ">="};
    const int choice = std::uniform_int_distribution<int>(0, depth > 0 ? 9 : 5)(random);
    const std::string text = pick({"NumeroCamera", "Nome"});
    switch (choice) {
        case 0:
            return text + " " + pick(ops) + " " + pick(kCriteriaLiterals);
        case 1:
            return pick(kCriteriaLiterals) + " " + pick(ops) + " " + text;
        case 2:
            return "NumeroHotel " + pick(ops) + " " + pick({"1", "2", "-1", "0", "3"});
        case 3:
            return text + " In (" + pick(kCriteriaLiterals) + ", " + pick(kCriteriaLiterals) + ")";
        case 4:
            return pick({"NumeroHotel", "NumeroCamera", "Nome"}) + " Is Null";
        case 5:
            return text + " Like '" + pick({"s*", "1*", "*a", "?"}) + "'";
        case 6:
        case 7:
            return "(" + randomCriteria(random, depth - 1) + ") And (" +
                   randomCriteria(random, depth - 1) + ")";
        case 8:
            return "(" + randomCriteria(random, depth - 1) + ") Or (" +
                   randomCriteria(random, depth - 1) + ")";
        default:
            return "Not (" + randomCriteria(random, depth - 1) + ")";
    }
}

std::vector<std::int64_t> idsFound(db::RecordSet& set, const std::string& criteria) {
    std::vector<std::int64_t> ids;
    for (set.findFirst(criteria); !set.noMatch(); set.findNext(criteria)) {
        ids.push_back(set.field("Id").asInteger());
    }
    return ids;
}

}  // namespace planora::testing
