#include "app/OptionFiles.h"

#include <QDomDocument>
#include <QFile>
#include <QSaveFile>
#include <QStringConverter>
#include <QTextStream>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace OptionFiles {

namespace {

const QString kRoot = QStringLiteral("root");
const QString kLanguage = QStringLiteral("Language");
const QString kAutoStart = QStringLiteral("AutoStart");
const QString kRecoveryData = QStringLiteral("RecoveryData");
const QString kAutoHttpd = QStringLiteral("AutoHttpd");
const QString kConfirmDelete = QStringLiteral("ConfirmDelete");

bool load(const QString &path, QDomDocument *doc)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return bool(doc->setContent(&file));
}

// Truncates and rewrites the file, UTF-8, four spaces per level.
bool save(const QString &path, const QDomDocument &doc)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QTextStream out(&file);
    out.setEncoding(QStringConverter::Utf8);
    doc.save(out, 4);
    out.flush();
    return file.error() == QFileDevice::NoError;
}

void setText(QDomDocument &doc, QDomElement element, const QString &text)
{
    for (QDomNode child = element.firstChild(); !child.isNull(); child = child.nextSibling()) {
        if (child.isText()) {
            child.setNodeValue(text);
            return;
        }
    }
    element.appendChild(doc.createTextNode(text));
}

// Text of the last element in the run of same-named elements starting at the
// first child called `name`; null when there is no such child.
QString lastOfRun(const QDomElement &root, const QString &name)
{
    QString text;
    for (QDomElement e = root.firstChildElement(name); !e.isNull() && e.tagName() == name; e = e.nextSiblingElement())
        text = e.text();
    return text;
}

bool switchValue(const QDomElement &root, const QString &name)
{
    bool ok = false;
    const int value = lastOfRun(root, name).trimmed().toInt(&ok);
    return ok && value == 1;
}

QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

QDomDocument newDocument(QDomElement *root)
{
    QDomDocument doc;
    *root = doc.createElement(kRoot);
    doc.appendChild(*root);
    return doc;
}

void appendElement(QDomDocument &doc, QDomElement &parent, const QString &name, const QString &text)
{
    QDomElement e = doc.createElement(name);
    e.appendChild(doc.createTextNode(text));
    parent.appendChild(e);
}

} // namespace

bool readLanguage(const QString &path, QString *code)
{
    QDomDocument doc;
    if (!QFile::exists(path) || !load(path, &doc))
        return false;
    *code = lastOfRun(doc.documentElement(), kLanguage);
    return true;
}

bool writeLanguage(const QString &path, const QString &code)
{
    if (QFile::exists(path)) {
        QDomDocument doc;
        if (!load(path, &doc))
            return false;
        for (QDomElement e = doc.documentElement().firstChildElement(); !e.isNull() && e.tagName() == kLanguage;
             e = e.nextSiblingElement())
            setText(doc, e, code);
        return save(path, doc);
    }
    QDomElement root;
    QDomDocument doc = newDocument(&root);
    appendElement(doc, root, kLanguage, code);
    return save(path, doc);
}

bool readOptions(const QString &path, Options *options)
{
    QDomDocument doc;
    if (!QFile::exists(path) || !load(path, &doc))
        return false;
    const QDomElement root = doc.documentElement();
    options->autoStart = switchValue(root, kAutoStart);
    options->recoveryData = switchValue(root, kRecoveryData);
    options->autoHttpd = switchValue(root, kAutoHttpd);
    options->confirmDelete = switchValue(root, kConfirmDelete);
    return true;
}

bool writeOptions(const QString &path, const Options &options)
{
    if (QFile::exists(path)) {
        QDomDocument doc;
        if (!load(path, &doc))
            return false;
        QDomElement root = doc.documentElement();
        bool hasConfirm = false;
        for (QDomElement e = root.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
            if (e.tagName() == kConfirmDelete) {
                setText(doc, e, flag(options.confirmDelete));
                hasConfirm = true;
            } else if (e.tagName() == kAutoStart)
                setText(doc, e, flag(options.autoStart));
            else if (e.tagName() == kRecoveryData)
                setText(doc, e, flag(options.recoveryData));
            else if (e.tagName() == kAutoHttpd)
                setText(doc, e, flag(options.autoHttpd));
        }
        // Files written before this switch existed get it once it is on; off,
        // its default, they stay as they were.
        if (!hasConfirm && options.confirmDelete)
            appendElement(doc, root, kConfirmDelete, flag(true));
        return save(path, doc);
    }
    QDomElement root;
    QDomDocument doc = newDocument(&root);
    appendElement(doc, root, kAutoStart, flag(options.autoStart));
    appendElement(doc, root, kRecoveryData, flag(options.recoveryData));
    appendElement(doc, root, kAutoHttpd, flag(options.autoHttpd));
    if (options.confirmDelete)
        appendElement(doc, root, kConfirmDelete, flag(true));
    return save(path, doc);
}

bool readPort(const QString &path, bool *useDefault, QString *port)
{
    QFile file(path);
    if (!file.exists())
        return false;
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug("read port.xml error");
        return false;
    }
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("useDefault")) {
            const QString value = xml.readElementText().trimmed();
            if (value == QLatin1String("1") || value == QLatin1String("0"))
                *useDefault = value == QLatin1String("1");
        } else if (xml.name() == QLatin1String("port")) {
            *port = xml.readElementText().trimmed();
        }
    }
    if (xml.hasError()) {
        qDebug("read port.xml error");
        return false;
    }
    return true;
}

bool writePort(const QString &path, bool useDefault, const QString &port)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QXmlStreamWriter xml(&file);
    xml.setAutoFormatting(true);
    xml.writeStartDocument(QStringLiteral("1.0"));
    xml.writeStartElement(QStringLiteral("configHttpdPort"));
    xml.writeTextElement(QStringLiteral("useDefault"), useDefault ? QStringLiteral("1") : QStringLiteral("0"));
    xml.writeTextElement(QStringLiteral("port"), port);
    xml.writeEndElement();
    xml.writeEndDocument();
    return !xml.hasError() && file.commit();
}

} // namespace OptionFiles
