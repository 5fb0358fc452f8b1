#include "Table.h"

#include "Connection.h"
#include "DataSource.h"
#include "Failure.h"

#include <QCollator>
#include <QLocale>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <algorithm>

namespace {

QString Quoted(const QString& name) {
    return QLatin1Char('"') + name + QLatin1Char('"');
}

// A column named with its table: the store never reads that as a text, even when the column
// is missing.
QString Qualified(const QString& table, const QString& column) {
    return Quoted(table) + QLatin1Char('.') + Quoted(column);
}

QVariant ToStore(const TField& field, const QVariant& value) {
    if (value.isNull())
        return QVariant();
    switch (field.DataType()) {
        case TFieldType::Boolean:
            return QVariant(value.toBool() ? 1 : 0);
        case TFieldType::DateTime:
            return QVariant(value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
        default:
            return value;
    }
}

// Text in the Russian order: "Ё" with "Е", case ignored first, then with it; equal only when
// the same to the letter.
int CompareText(const QString& a, const QString& b) {
    static const QCollator caseless = [] {
        QCollator c(QLocale(QLocale::Russian, QLocale::Russia));
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    static const QCollator cased = [] {
        QCollator c(QLocale(QLocale::Russian, QLocale::Russia));
        c.setCaseSensitivity(Qt::CaseSensitive);
        return c;
    }();
    int c = caseless.compare(a, b);
    if (c == 0)
        c = cased.compare(a, b);
    return c != 0 ? c : a.compare(b);
}

// Null first.
int Compare(const TField& field, const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull())
        return int(b.isNull()) - int(a.isNull()) == 0 ? 0 : (a.isNull() ? -1 : 1);
    switch (field.DataType()) {
        case TFieldType::String:
            return CompareText(a.toString(), b.toString());
        case TFieldType::DateTime: {
            const QDateTime x = a.toDateTime(), y = b.toDateTime();
            return x < y ? -1 : (y < x ? 1 : 0);
        }
        default: {
            const qlonglong x = a.toLongLong(), y = b.toLongLong();
            return x < y ? -1 : (y < x ? 1 : 0);
        }
    }
}

bool SameKey(const QVariant& a, const QVariant& b) {
    if (a.isNull() || b.isNull())
        return a.isNull() && b.isNull();
    return a.toLongLong() == b.toLongLong();
}

[[noreturn]] void Fail(const QSqlQuery& q, const TADOConnection& connection) {
    ThrowStoreError(q.lastError(), connection.DataSource);
}

// A value the store refused by one of its named checks, in the user's words; empty for any
// other failure.
QString RefusalText(const QSqlError& error, const TADOTable& table) {
    static const QRegularExpression check(
        QStringLiteral("CHECK constraint failed: (\\w+) (longer than (\\d+) characters|out of "
                       "range -32768\\.\\.32767|out of range for a 32-bit integer|is not Yes/No)"));
    const QRegularExpressionMatch m = check.match(error.databaseText());
    if (!m.hasMatch())
        return QString();
    const TField* field = table.FindField(m.captured(1));
    const QString label = field ? field->DisplayLabel() : m.captured(1);
    const QString rule = m.captured(2);
    if (!m.captured(3).isEmpty())
        return QStringLiteral("В поле \"%1\" можно ввести не более %2 символов")
            .arg(label, m.captured(3));
    if (rule.startsWith(QLatin1String("is not")))
        return QStringLiteral("В поле \"%1\" допустимы только значения \"Да\" и \"Нет\"")
            .arg(label);
    const bool small = rule.contains(QLatin1String("32768"));
    return QStringLiteral("В поле \"%1\" можно ввести целое число от %2 до %3")
        .arg(label, small ? QStringLiteral("-32768") : QStringLiteral("-2147483648"),
             small ? QStringLiteral("32767") : QStringLiteral("2147483647"));
}

[[noreturn]] void FailWrite(const QSqlQuery& q, const TADOTable& table,
                            const TADOConnection& connection) {
    const QString refusal = RefusalText(q.lastError(), table);
    if (refusal.isEmpty())
        Fail(q, connection);
    throw DatabaseError(refusal);
}

}  // namespace

TADOTable::TADOTable(TADOConnection& connection, QString tableName, QObject* parent)
    : QObject(parent), connection_(connection), tableName_(std::move(tableName)) {}

TADOTable::~TADOTable() {
    SetMasterSource(nullptr);
    for (TADOTable* detail : details_) {
        detail->masterSource_ = nullptr;
        detail->master_ = nullptr;
    }
}

TField& TADOTable::AddField(const QString& name, TFieldKind kind, TFieldType type, int size) {
    auto field = std::make_unique<TField>(*this, name, kind, type, size);
    if (kind == TFieldKind::Data)
        field->index_ = dataFieldCount_++;
    else if (kind == TFieldKind::Calculated)
        field->index_ = calcFieldCount_++;
    fields_.push_back(std::move(field));
    return *fields_.back();
}

TField* TADOTable::FindField(const QString& name) const {
    for (const auto& f : fields_)
        if (f->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

TField& TADOTable::FieldByName(const QString& name) const {
    if (TField* f = FindField(name))
        return *f;
    throw DatabaseError(QStringLiteral("%1: поле «%2» не найдено").arg(tableName_, name));
}

void TADOTable::SetMasterSource(TDataSource* master) {
    if (master_)
        std::erase(master_->details_, this);
    masterSource_ = master;
    master_ = master ? &master->DataSet() : nullptr;
    if (master_)
        master_->details_.push_back(this);
}

// Details follow by direct calls, so a failure of theirs reaches whoever moved the master.
void TADOTable::Changed() {
    emit DataSetChanged();
    for (TADOTable* detail : std::vector<TADOTable*>(details_))
        detail->MasterChanged();
}

void TADOTable::Scrolled() {
    if (controlsDisabled_ > 0)
        scrolledWhileDisabled_ = true;
    else
        emit DataSetScrolled();
    for (TADOTable* detail : std::vector<TADOTable*>(details_))
        detail->MasterChanged();
}

void TADOTable::DisableControls() {
    ++controlsDisabled_;
}

void TADOTable::EnableControls() {
    if (controlsDisabled_ == 0 || --controlsDisabled_ > 0 || !scrolledWhileDisabled_)
        return;
    scrolledWhileDisabled_ = false;
    emit DataSetScrolled();
}

// ---- reading -------------------------------------------------------------------------------

void TADOTable::Open() {
    if (Active())
        return;
    if (!connection_.Connected())
        connection_.Open();
    if (master_)
        linkKey_ = MasterKey();
    ReadView();
    SetState(TDataSetState::dsBrowse);
    Changed();
}

void TADOTable::Close() {
    if (!Active())
        return;
    rows_.clear();
    cur_ = -1;
    eof_ = bof_ = true;
    SetState(TDataSetState::dsInactive);
    Changed();
}

QVariant TADOTable::MasterKey() const {
    if (!master_ || !master_->Active() || master_->cur_ < 0)
        return QVariant();
    return master_->FieldByName(MasterFields).Value();
}

QVector<TADOTable::Row> TADOTable::Fetch() const {
    QVector<Row> rows;
    const QStringList sort = IndexFieldNames.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    QStringList columns;
    QVector<const TField*> data;
    for (const auto& f : fields_)
        if (f->FieldKind() == TFieldKind::Data) {
            columns << Qualified(tableName_, f->FieldName());
            data << f.get();
        }
    QString sql =
        QStringLiteral("SELECT %1 FROM %2").arg(columns.join(QLatin1Char(',')), Quoted(tableName_));
    if (master_)
        sql += QStringLiteral(" WHERE %1 = ?").arg(Qualified(tableName_, sort.value(0)));
    // The database's order of the sort keys, then Id, is already the table's order for
    // numbers and mostly for text; SortRows only checks it then.
    QStringList order;
    for (const QString& key : sort) {
        const TField* field = FindField(key);
        if (!field || field->FieldKind() != TFieldKind::Data)
            break;
        order << Qualified(tableName_, field->FieldName());
    }
    if (FindField(QStringLiteral("Id")))
        order << Qualified(tableName_, QStringLiteral("Id"));
    if (!order.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + order.join(QLatin1Char(','));
    QSqlQuery q(connection_.Database());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        Fail(q, connection_);
    if (master_)
        q.addBindValue(linkKey_);  // without a master row: null, which matches nothing
    if (!q.exec())
        Fail(q, connection_);
    while (q.next()) {
        Row row(dataFieldCount_);
        for (int i = 0; i < data.size(); ++i)
            row[i] = q.isNull(i) ? QVariant() : data[i]->Normalize(q.value(i));
        rows.append(std::move(row));
    }
    if (q.lastError().isValid())
        Fail(q, connection_);
    SortRows(rows);
    return rows;
}

void TADOTable::SortRows(QVector<Row>& rows) const {
    QVector<const TField*> keys;
    for (const QString& name : IndexFieldNames.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        keys << &FieldByName(name);
    if (keys.isEmpty())
        return;
    // Equal keys keep the order of Id, which is unique: the order is total, and rows already
    // in it need no sorting.
    if (const TField* id = FindField(QStringLiteral("Id")))
        keys << id;
    const auto before = [&](const Row& a, const Row& b) {
        for (const TField* f : keys) {
            const int c = Compare(*f, a[f->index_], b[f->index_]);
            if (c != 0)
                return c < 0;
        }
        return false;
    };
    if (!std::is_sorted(rows.begin(), rows.end(), before))
        std::sort(rows.begin(), rows.end(), before);
}

void TADOTable::ReadView() {
    QVector<Row> rows = Fetch();
    rows_ = std::move(rows);
    cur_ = rows_.isEmpty() ? -1 : 0;
    eof_ = bof_ = rows_.isEmpty();
}

void TADOTable::Requery() {
    CheckActive();
    CheckBrowseMode();
    try {
        ReadView();
    } catch (...) {
        Close();
        throw;
    }
    Changed();
}

void TADOTable::MasterChanged() {
    if (!Active())
        return;
    CheckBrowseMode();
    const QVariant key = MasterKey();
    if (SameKey(key, linkKey_))
        return;
    linkKey_ = key;
    try {
        ReadView();
    } catch (...) {
        Close();
        throw;
    }
    Changed();
}

// ---- moving --------------------------------------------------------------------------------

void TADOTable::CheckActive() const {
    if (!Active())
        throw DatabaseError(
            QStringLiteral("%1: таблица закрыта, действие невозможно").arg(tableName_));
}

void TADOTable::First() {
    CheckActive();
    CheckBrowseMode();
    const int before = cur_;
    cur_ = rows_.isEmpty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.isEmpty();
    if (cur_ != before)
        Scrolled();
}

void TADOTable::Last() {
    CheckActive();
    CheckBrowseMode();
    const int before = cur_;
    cur_ = static_cast<int>(rows_.size()) - 1;
    eof_ = true;
    bof_ = rows_.isEmpty();
    if (cur_ != before)
        Scrolled();
}

void TADOTable::Next() {
    CheckActive();
    CheckBrowseMode();
    if (cur_ + 1 < rows_.size()) {
        ++cur_;
        eof_ = bof_ = false;
        Scrolled();
    } else {
        eof_ = true;
    }
}

void TADOTable::Prior() {
    CheckActive();
    CheckBrowseMode();
    if (cur_ > 0) {
        --cur_;
        eof_ = bof_ = false;
        Scrolled();
    } else {
        bof_ = true;
    }
}

int TADOTable::RecordCount() const {
    return static_cast<int>(rows_.size()) - (state_ == TDataSetState::dsInsert ? 1 : 0);
}

int TADOTable::RecNo() const {
    if (state_ == TDataSetState::dsInsert || cur_ < 0)
        return -1;
    return cur_ + 1;
}

void TADOTable::SetRecNo(int recNo) {
    CheckActive();
    CheckBrowseMode();
    if (rows_.isEmpty())
        return;
    const int target = std::clamp(recNo, 1, static_cast<int>(rows_.size())) - 1;
    eof_ = bof_ = false;
    if (target != cur_) {
        cur_ = target;
        Scrolled();
    }
}

bool TADOTable::LocateRow(const QString& columns, const QVariantList& values) {
    CheckActive();
    CheckBrowseMode();
    QVector<const TField*> keys;
    for (const QString& name : columns.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        keys << &FieldByName(name);
    if (keys.size() != values.size())
        throw DatabaseError(QStringLiteral("%1: %2 columns, %3 values")
                                .arg(tableName_)
                                .arg(keys.size())
                                .arg(values.size()));
    QVector<QVariant> wanted;
    for (int k = 0; k < keys.size(); ++k)
        wanted << keys[k]->Normalize(values[k]);
    for (int i = 0; i < rows_.size(); ++i) {
        bool match = true;
        for (int k = 0; k < keys.size() && match; ++k) {
            const QVariant have = FieldValue(*keys[k], i);
            match = !have.isNull() && !wanted[k].isNull() &&
                    Compare(*keys[k], have, wanted[k]) == 0 &&
                    (keys[k]->DataType() != TFieldType::String ||
                     have.toString() == wanted[k].toString());
        }
        if (match) {
            eof_ = bof_ = false;
            if (i != cur_) {
                cur_ = i;
                Scrolled();
            }
            return true;
        }
    }
    return false;
}

bool TADOTable::LocateKey(const QVariant& key) {
    if (key.isNull())
        return false;
    return LocateRow(QStringLiteral("Id"), {key});
}

// ---- editing -------------------------------------------------------------------------------

void TADOTable::SetState(TDataSetState state) {
    if (state_ == state)
        return;
    state_ = state;
    emit StateChanged();
}

void TADOTable::CheckBrowseMode() {
    if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert)
        return;
    emit UpdateData();
    if (modified_)
        Post();
    else
        Cancel();
}

void TADOTable::InsertRow() {
    rowBeforeInsert_ = cur_;
    rows_.append(Row(dataFieldCount_));
    cur_ = static_cast<int>(rows_.size()) - 1;
    buffer_ = Row(dataFieldCount_);
    assigned_ = QVector<bool>(dataFieldCount_, false);
    if (master_) {
        // The new row belongs to the master's current row; that alone does not modify it.
        const TField& link = FieldByName(IndexFieldNames.section(QLatin1Char(';'), 0, 0));
        buffer_[link.index_] = link.Normalize(MasterKey());
        assigned_[link.index_] = true;
    }
    modified_ = false;
    eof_ = bof_ = false;
    SetState(TDataSetState::dsInsert);
    Changed();
}

void TADOTable::Append() {
    CheckActive();
    CheckBrowseMode();
    InsertRow();
}

void TADOTable::Edit() {
    CheckActive();
    if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert)
        return;
    if (rows_.isEmpty()) {
        InsertRow();
        return;
    }
    buffer_ = rows_[cur_];
    assigned_ = QVector<bool>(dataFieldCount_, false);
    modified_ = false;
    SetState(TDataSetState::dsEdit);
}

void TADOTable::StoreRow() {
    QStringList columns;
    QVariantList values;
    const TField* key = nullptr;
    for (const auto& f : fields_) {
        if (f->FieldKind() != TFieldKind::Data)
            continue;
        if (f->DataType() == TFieldType::AutoInc) {
            key = f.get();
            continue;
        }
        if (!assigned_[f->index_])
            continue;
        columns << Quoted(f->FieldName());
        values << ToStore(*f, buffer_[f->index_]);
    }
    QSqlQuery q(connection_.Database());
    if (state_ == TDataSetState::dsInsert) {
        QString sql =
            columns.isEmpty()
                ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(Quoted(tableName_))
                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                      .arg(Quoted(tableName_), columns.join(QLatin1Char(',')),
                           QStringList(columns.size(), QStringLiteral("?")).join(QLatin1Char(',')));
        if (!q.prepare(sql))
            Fail(q, connection_);
        for (const QVariant& v : values)
            q.addBindValue(v);
        if (!q.exec())
            FailWrite(q, *this, connection_);
        if (key)
            buffer_[key->index_] = QVariant(q.lastInsertId().toLongLong());
    } else if (!columns.isEmpty()) {
        QStringList sets;
        for (const QString& c : columns)
            sets << c + QStringLiteral(" = ?");
        if (!q.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                           .arg(Quoted(tableName_), sets.join(QLatin1Char(',')),
                                Qualified(tableName_, QStringLiteral("Id")))))
            Fail(q, connection_);
        for (const QVariant& v : values)
            q.addBindValue(v);
        q.addBindValue(key ? buffer_[key->index_] : QVariant());
        if (!q.exec())
            FailWrite(q, *this, connection_);
    }
}

void TADOTable::Post() {
    CheckActive();
    emit UpdateData();
    if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert)
        throw DatabaseError(
            QStringLiteral("%1: таблица не в режиме правки или добавления").arg(tableName_));
    StoreRow();
    const TField* keyField = FindField(QStringLiteral("Id"));
    const QVariant key = keyField ? buffer_[keyField->index_] : QVariant();
    rows_[cur_] = buffer_;
    modified_ = false;
    SetState(TDataSetState::dsBrowse);
    Changed();
    DoAfterPost(key);
}

void TADOTable::DoAfterPost(const QVariant&) {
    if (AfterPost)
        AfterPost(*this);
}

void TADOTable::Cancel() {
    if (state_ == TDataSetState::dsInsert) {
        rows_.removeLast();
        cur_ = rows_.isEmpty()
                   ? -1
                   : std::clamp(rowBeforeInsert_, 0, static_cast<int>(rows_.size()) - 1);
        eof_ = bof_ = rows_.isEmpty();
        modified_ = false;
        SetState(TDataSetState::dsBrowse);
        Changed();
    } else if (state_ == TDataSetState::dsEdit) {
        modified_ = false;
        SetState(TDataSetState::dsBrowse);
        emit RecordChanged(nullptr);
    }
}

void TADOTable::Delete() {
    CheckActive();
    if (state_ == TDataSetState::dsInsert) {
        Cancel();
        return;
    }
    if (rows_.isEmpty())
        throw DatabaseError(QStringLiteral("Cannot perform this operation on an empty dataset"));
    Cancel();
    const TField& keyField = FieldByName(QStringLiteral("Id"));
    QSqlQuery q(connection_.Database());
    if (!q.prepare(QStringLiteral("DELETE FROM %1 WHERE %2 = ?")
                       .arg(Quoted(tableName_), Qualified(tableName_, QStringLiteral("Id")))))
        Fail(q, connection_);
    q.addBindValue(rows_[cur_][keyField.index_]);
    if (!q.exec())
        Fail(q, connection_);
    rows_.remove(cur_);
    if (rows_.isEmpty()) {
        cur_ = -1;
        eof_ = bof_ = true;
    } else {
        cur_ = std::min(cur_, static_cast<int>(rows_.size()) - 1);
        eof_ = bof_ = false;
    }
    Changed();
}

// ---- field values --------------------------------------------------------------------------

QVariant TADOTable::FieldValue(const TField& field, int row) const {
    if (row < 0 || row >= rows_.size())
        return QVariant();
    switch (field.FieldKind()) {
        case TFieldKind::Data:
            if (row == cur_ &&
                (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert))
                return buffer_[field.index_];
            return rows_[row][field.index_];
        case TFieldKind::Lookup:
            return LookupValue(field, row);
        case TFieldKind::Calculated:
            return calcRow_ == row ? calcBuffer_[field.index_] : CalculatedValue(field, row);
    }
    return QVariant();
}

QVariant TADOTable::LookupValue(const TField& field, int row) const {
    const TADOTable* other = field.LookupDataSet;
    if (!other)
        return QVariant();
    const QVariant key = FieldByName(field.KeyFields).ValueAt(row);
    if (key.isNull())
        return QVariant();
    const TField& otherKey = other->FieldByName(field.LookupKeyFields);
    const TField& result = other->FieldByName(field.LookupResultField);
    for (int i = 0; i < other->RecordCount(); ++i)
        if (SameKey(otherKey.ValueAt(i), key))
            return result.ValueAt(i);
    return QVariant();
}

QVariant TADOTable::CalculatedValue(const TField& field, int row) const {
    const int outer = calcRow_;
    const Row outerBuffer = calcBuffer_;
    calcRow_ = row;
    calcBuffer_ = Row(calcFieldCount_);  // cleared before every calculation
    if (OnCalcFields)
        OnCalcFields(const_cast<TADOTable&>(*this));
    const QVariant value = calcBuffer_[field.index_];
    calcRow_ = outer;
    calcBuffer_ = outerBuffer;
    return value;
}

void TADOTable::SetFieldValue(TField& field, const QVariant& value) {
    if (field.FieldKind() == TFieldKind::Calculated && calcRow_ >= 0) {
        calcBuffer_[field.index_] = value;
        return;
    }
    if (field.ReadOnly() || field.FieldKind() != TFieldKind::Data)
        throw DatabaseError(QStringLiteral("Поле «%1» нельзя изменить").arg(field.FieldName()));
    if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert)
        throw DatabaseError(
            QStringLiteral("%1: таблица не в режиме правки или добавления").arg(tableName_));
    buffer_[field.index_] = field.Normalize(value);
    assigned_[field.index_] = true;
    modified_ = true;
    emit RecordChanged(&field);
}

// ---- after a post --------------------------------------------------------------------------

void TADOTableAvtoInc::DoAfterPost(const QVariant& key) {
    TADOTable::DoAfterPost(key);
    const int remembered = RecNo();
    Requery();
    // Stay on the stored row; its former position serves only when it has left the view.
    if (!LocateKey(key))
        SetRecNo(remembered);
}
