#include "result_set.h"

namespace dbf::sql {
namespace {

std::uint32_t rowOf(const ResultSet::Field& f, std::size_t row) {
    return f.rows ? (*f.rows)[row] : static_cast<std::uint32_t>(row);
}

}  // namespace

Value ResultSet::value(std::size_t row, int field) const {
    const Field& f = m_fields.at(static_cast<std::size_t>(field));
    switch (f.source) {
        case Field::Source::StoreColumn:
            return f.column->value(rowOf(f, row));
        case Field::Source::Values:
            return f.values[row];
        case Field::Source::Numbers:
            return f.nulls[row] ? Value::null() : Value::real(f.numbers[row]);
        case Field::Source::Constant:
            return f.constant;
    }
    return {};
}

bool ResultSet::isNull(std::size_t row, int field) const {
    const Field& f = m_fields.at(static_cast<std::size_t>(field));
    switch (f.source) {
        case Field::Source::StoreColumn:
            return f.column->isNull(rowOf(f, row));
        case Field::Source::Values:
            return f.values[row].isNull();
        case Field::Source::Numbers:
            return f.nulls[row] != 0;
        case Field::Source::Constant:
            return f.constant.isNull();
    }
    return true;
}

double ResultSet::number(std::size_t row, int field) const {
    const Field& f = m_fields.at(static_cast<std::size_t>(field));
    switch (f.source) {
        case Field::Source::StoreColumn: {
            const std::uint32_t r = rowOf(f, row);
            return f.column->kind == Column::Kind::Number && !f.column->isNull(r)
                       ? f.column->number(r)
                       : 0;
        }
        case Field::Source::Values: {
            const Value& v = f.values[row];
            return v.isNull() || v.isText() ? 0 : v.number();
        }
        case Field::Source::Numbers:
            return f.nulls[row] ? 0 : f.numbers[row];
        case Field::Source::Constant:
            return f.constant.isNull() || f.constant.isText() ? 0 : f.constant.number();
    }
    return 0;
}

std::string_view ResultSet::text(std::size_t row, int field) const {
    const Field& f = m_fields.at(static_cast<std::size_t>(field));
    switch (f.source) {
        case Field::Source::StoreColumn: {
            const std::uint32_t r = rowOf(f, row);
            return f.column->kind == Column::Kind::Text && !f.column->isNull(r)
                       ? f.column->textAt(r)
                       : std::string_view();
        }
        case Field::Source::Values:
            return f.values[row].bytes();
        case Field::Source::Numbers:
            return {};
        case Field::Source::Constant:
            return f.constant.bytes();
    }
    return {};
}

}  // namespace dbf::sql
