// Declaration helpers for OroAscanCtl's properties. Each one declares a Qt
// property reachable by name (QObject::property/setProperty) together with a
// typed C++ getter `Name()` and setter `set_Name(value)`.
#pragma once

// A plain stored value: the write stores, the read returns what was stored.
#define ASCAN_STORED(Type, Name)                                                                             \
    Q_PROPERTY(Type Name READ Name WRITE set_##Name)                                                         \
  public:                                                                                                    \
    Type Name() const {                                                                                      \
        return m_props.Name;                                                                                 \
    }                                                                                                        \
    void set_##Name(Type value) {                                                                            \
        m_props.Name = value;                                                                                \
    }

// A text of one of the control's labels; writing never changes visibility.
#define ASCAN_LABEL_TEXT(Name, Label)                                                                        \
    Q_PROPERTY(QString Name READ Name WRITE set_##Name)                                                      \
  public:                                                                                                    \
    QString Name() const {                                                                                   \
        return (Label)->text();                                                                              \
    }                                                                                                        \
    void set_##Name(const QString& text) {                                                                   \
        (Label)->setText(text);                                                                              \
    }

// An array of integers handed over by the host as any list (QList<qint16>,
// QList<int>, QVariantList, ...). The read returns the value as it was written.
#define ASCAN_INTEGER_ARRAY(Name)                                                                            \
    Q_PROPERTY(QVariant Name READ Name WRITE set_##Name)                                                     \
  public:                                                                                                    \
    QVariant Name() const {                                                                                  \
        return m_props.Name.stored();                                                                        \
    }                                                                                                        \
    void set_##Name(const QVariant& value) {                                                                 \
        m_props.Name.assign(value);                                                                          \
    }
