#include "player/display/ascan_port.h"

#include "platform/control_binding.h"

#include <QMetaProperty>
#include <QObject>

#include <array>
#include <cstring>
#include <optional>
#include <string>
#include <unordered_map>

namespace pelix::player {

namespace {

using platform::ControlBindingError;

// Resolves each name once; a frame writes about ninety properties, and the
// meta-object lookup by name is a linear string search.
class NamedAscanPort final : public AscanPort {
  public:
    explicit NamedAscanPort(QObject* control) : m_control(control) {}

    void set(const char* name, const QVariant& value) override { write(property(name), value); }

    QVariant get(const char* name) const override { return property(name).read(m_control); }

    void set(AscanProperty p, const QVariant& value) override { write(property(p), value); }
    QVariant get(AscanProperty p) const override { return property(p).read(m_control); }

    void setBool(const char* name, bool value) override {
        const QMetaProperty& p = property(name);
        if (p.metaType().id() == QMetaType::Bool)
            set(name, QVariant(value));
        else
            set(name, QVariant(static_cast<qint16>(value ? -1 : 0)));
    }

    bool getBool(const char* name) const override {
        const QVariant v = get(name);
        return v.metaType().id() == QMetaType::Bool ? v.toBool() : v.toInt() != 0;
    }

    void setParamTitle(int row, const QString& text) override {
        platform::invokeControl(m_control, "tiParamTitle", Q_ARG(int, row), Q_ARG(QString, text));
    }
    void setParamValue(int row, const QString& text) override {
        platform::invokeControl(m_control, "pParamValue", Q_ARG(int, row), Q_ARG(QString, text));
    }
    QString convertDecToCom(const QString& text) override {
        QString out;
        platform::invokeControl(m_control, "ConvertDecToCom", Q_RETURN_ARG(QString, out),
                                Q_ARG(QString, text));
        return out;
    }
    void updateAscanGraph() override { platform::invokeControl(m_control, "UpdateAscanGraph"); }

  private:
    void write(const QMetaProperty& p, const QVariant& value) {
        if (!p.isWritable()) throw ControlBindingError(std::string("property ") + p.name() + " is read-only");
        if (!p.write(m_control, value))
            throw ControlBindingError(std::string("property ") + p.name() + " cannot take a value of type " +
                                      value.typeName());
    }

    // A property of the table is looked up once, by its place in the table.
    const QMetaProperty& property(AscanProperty p) const {
        std::optional<QMetaProperty>& known = m_byTable[static_cast<std::size_t>(p)];
        if (!known) known = property(nameOf(p));
        return *known;
    }

    const QMetaProperty& property(const char* name) const {
        // Keyed by the text's address; the name check keeps a reused address from finding another property.
        const auto it = m_properties.find(name);
        if (it != m_properties.end() && std::strcmp(it->second.name(), name) == 0) return it->second;
        const QMetaObject* meta = m_control->metaObject();
        const int index = meta->indexOfProperty(name);
        if (index < 0) throw ControlBindingError(std::string(meta->className()) + " has no property " + name);
        return m_properties.insert_or_assign(name, meta->property(index)).first->second;
    }

    QObject* m_control;
    mutable std::unordered_map<const char*, QMetaProperty> m_properties;
    mutable std::array<std::optional<QMetaProperty>, kAscanPropertyCount> m_byTable;
};

// Stands in when the control could not be created: every use fails loudly
// instead of reaching through a null pointer.
class MissingAscanPort final : public AscanPort {
  public:
    void set(const char* name, const QVariant&) override { fail(name); }
    QVariant get(const char* name) const override { fail(name); }
    void setBool(const char* name, bool) override { fail(name); }
    bool getBool(const char* name) const override { fail(name); }
    void setParamTitle(int, const QString&) override { fail("tiParamTitle"); }
    void setParamValue(int, const QString&) override { fail("pParamValue"); }
    QString convertDecToCom(const QString&) override { fail("ConvertDecToCom"); }
    void updateAscanGraph() override { fail("UpdateAscanGraph"); }

  private:
    [[noreturn]] static void fail(const char* name) {
        throw ControlBindingError(std::string("no A-scan control for ") + name);
    }
};

} // namespace

std::unique_ptr<AscanPort> makeNamedAscanPort(QObject* control) {
    if (!control) return std::make_unique<MissingAscanPort>();
    return std::make_unique<NamedAscanPort>(control);
}

} // namespace pelix::player
