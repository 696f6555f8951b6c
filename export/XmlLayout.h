#pragma once

#include "data/ContactInfo.h"
#include "data/Result.h"
#include "export/ExportRules.h"

#include <QString>

#include <functional>

class QIODevice;
class XmlWriter;

// What the XML layouts share around the XmlWriter.
namespace XmlLayout {

// Writes the declaration and `body` in `encoding` (UTF-8 when the name is unknown).
Result write(QIODevice &out, const QString &encoding, const std::function<void(XmlWriter &)> &body);

// Which optional children a layout's `pbgroup` carries besides `id`, `name` and
// `ringtones`.
enum GroupField { GroupPhotos = 1, GroupRingtoneIndex = 2 };

// The `pbgroup` definitions of the written groups, at most `limit` of them (no limit
// when negative). Returns the ids the contacts' references may use.
ExportRules::GroupIds writeGroups(XmlWriter &xml, const QList<GroupInfo> &groups, int fields, int limit = -1);

// The contact's `Group` elements: one per written group carrying each of its
// names, or one empty element when it is in no group.
void writeGroupRefs(XmlWriter &xml, const ContactInfo &contact, const ExportRules::GroupIds &ids);

// Every mail address, with its type when it has one, or one empty `Mail`.
void writeAllMails(XmlWriter &xml, const ContactInfo &contact);

} // namespace XmlLayout
