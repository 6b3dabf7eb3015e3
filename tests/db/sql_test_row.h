#pragma once

// A row of named values to bind and evaluate criteria against in the tests.

#include <string>
#include <utility>
#include <vector>

#include "db/sql.h"

namespace planora::db::sql::testing {

class TestRow {
  public:
    TestRow(std::initializer_list<std::pair<std::string, Value>> fields) : fields_(fields) {}

    ColumnResolver resolver() const {
        return [this](std::string_view name, std::size_t& column) {
            for (std::size_t i = 0; i < fields_.size(); ++i) {
                if (compareText(fields_[i].first, name) == 0) {
                    column = i;
                    return true;
                }
            }
            return false;
        };
    }

    RowReader reader() const {
        return [this](std::size_t column) { return fields_.at(column).second; };
    }

    void set(const std::string& name, Value value) {
        std::size_t column = 0;
        if (resolver()(name, column)) {
            fields_[column].second = std::move(value);
        }
    }

    // Parses, binds and evaluates the criteria on this row. Sub-queries answer with `values`.
    bool matches(std::string_view criteria, std::vector<Value> values = {}) const {
        ExprPtr expr = parseCriteria(criteria);
        SubqueryRunner runner = [values](const SelectStatement&) { return values; };
        BoundExpr bound(*expr, resolver(), runner,
                        TextSource{msg::SqlText::Criteria, std::string(criteria), {}, {}});
        return bound.matches(reader());
    }

  private:
    std::vector<std::pair<std::string, Value>> fields_;
};

}  // namespace planora::db::sql::testing
