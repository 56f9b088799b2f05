#include <array>
#include <optional>
#include <pugixml.hpp>
#include <string_view>

#include "model/metadata/imgdata.h"
#include "platform/text.h"

namespace folivant {
namespace {

// The signature before the packet, "http://ns.adobe.com/xap/1.0/" and a zero byte.
constexpr size_t kSignatureSize = 29;

constexpr std::string_view kRdf = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
constexpr std::string_view kDublinCore = "http://purl.org/dc/elements/1.1/";
constexpr std::string_view kXmpBasic = "http://ns.adobe.com/xap/1.0/";
constexpr std::string_view kExif = "http://ns.adobe.com/exif/1.0/";
constexpr std::string_view kPhotoshop = "http://ns.adobe.com/photoshop/1.0/";

// The properties read, by namespace and local name.
struct TProperty {
  std::string_view Namespace;
  std::string_view Name;
};
constexpr TProperty kTitle{kDublinCore, "title"};
constexpr TProperty kDescription{kDublinCore, "description"};
// The capture dates, the first present one serving.
constexpr std::array<TProperty, 3> kDates{
    {{kExif, "DateTimeOriginal"}, {kXmpBasic, "CreateDate"}, {kPhotoshop, "DateCreated"}}};

// The namespace of a prefixed name ("dc:title") as the xmlns declarations of
// `element` and its ancestors give it; empty when it has no prefix or none is declared.
std::string_view NamespaceOf(pugi::xml_node element, std::string_view name) {
  const size_t colon = name.find(':');
  if (colon == std::string_view::npos) return {};
  const std::string declaration = "xmlns:" + std::string(name.substr(0, colon));
  for (pugi::xml_node node = element; node; node = node.parent())
    if (const pugi::xml_attribute declared = node.attribute(declaration.c_str())) return declared.value();
  return {};
}

std::string_view LocalName(std::string_view name) {
  const size_t colon = name.find(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

bool IsElement(pugi::xml_node node, std::string_view ns, std::string_view local) {
  return node.type() == pugi::node_element && LocalName(node.name()) == local && NamespaceOf(node, node.name()) == ns;
}

// The text directly inside an element.
std::string TextOf(pugi::xml_node element) {
  std::string text;
  for (const pugi::xml_node child : element.children())
    if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) text += child.value();
  return text;
}

// A language alternative's text in the default language, else its first;
// a property written as plain text serves as it is.
std::string AlternativeText(pugi::xml_node property) {
  for (const pugi::xml_node container : property.children()) {
    if (!IsElement(container, kRdf, "Alt") && !IsElement(container, kRdf, "Seq") && !IsElement(container, kRdf, "Bag"))
      continue;
    pugi::xml_node first;
    for (const pugi::xml_node item : container.children()) {
      if (!IsElement(item, kRdf, "li")) continue;
      if (AsciiLowerCase(item.attribute("xml:lang").value()) == "x-default") return TextOf(item);
      if (!first) first = item;
    }
    return first ? TextOf(first) : std::string();
  }
  return TextOf(property);
}

// An XMP date ("2021-07-14T15:30:12.5+02:00", or with fewer parts) in the form
// of EXIF dates, "2021:07:14 15:30:12", taking the local time as EXIF does;
// empty when it is not a date.
std::string ExifDateTime(std::string_view date) {
  static constexpr std::string_view kForm = "dddd-dd-ddTdd:dd:dd";
  std::string result = "0000:01:01 00:00:00";
  size_t i = 0;
  for (; i < date.size() && i < kForm.size(); ++i) {
    const char c = date[i];
    if (kForm[i] != 'd') {
      if (c != kForm[i]) break;
    } else if (c >= '0' && c <= '9') {
      result[i] = c;
    } else {
      break;
    }
  }
  const std::string_view rest = date.substr(i);
  const bool date_only = i == 4 || i == 7 || i == 10;
  const bool with_time = i == 16 || i == 19;
  // A time may be followed by fractions of a second and a time zone.
  if ((date_only && rest.empty()) ||
      (with_time && (rest.empty() || std::string_view(".Z+-").find(rest[0]) != std::string_view::npos)))
    return result;
  return {};
}

// Reads the properties of every rdf:Description, as attributes or elements;
// the first Description that has one gives it.
class TPropertyReader {
 public:
  explicit TPropertyReader(pugi::xml_node rdf) {
    for (const pugi::xml_node description : rdf.children()) {
      if (!IsElement(description, kRdf, "Description")) continue;
      for (const pugi::xml_attribute attribute : description.attributes())
        Offer(description, attribute.name(), [&] { return std::string(attribute.value()); });
      for (const pugi::xml_node property : description.children())
        if (property.type() == pugi::node_element)
          Offer(property, property.name(), [&] { return AlternativeText(property); });
    }
  }

  std::optional<std::string> Title, Description;
  std::array<std::optional<std::string>, kDates.size()> Dates;

 private:
  template <typename TValue>
  void Offer(pugi::xml_node element, std::string_view name, TValue value) {
    const auto is = [&](const TProperty& property) {
      return LocalName(name) == property.Name && NamespaceOf(element, name) == property.Namespace;
    };
    if (!Title && is(kTitle)) Title = value();
    if (!Description && is(kDescription)) Description = value();
    for (size_t i = 0; i < kDates.size(); ++i)
      if (!Dates[i] && is(kDates[i])) Dates[i] = value();
  }
};

// The rdf:RDF element: the document itself, or a child of its x:xmpmeta wrapper.
pugi::xml_node RdfElement(pugi::xml_node root) {
  if (IsElement(root, kRdf, "RDF")) return root;
  for (const pugi::xml_node child : root.children())
    if (IsElement(child, kRdf, "RDF")) return child;
  return {};
}

}  // namespace

TXmpData::TXmpData(const TSegment& segment) {
  const std::string_view bytes = segment.bytes;
  if (bytes.size() < 2 + kSignatureSize) return;
  const std::string_view packet = bytes.substr(2 + kSignatureSize);
  // XMP has no document type; one in a packet could only declare entities.
  if (packet.find("<!DOCTYPE") != std::string_view::npos) return;
  pugi::xml_document document;
  if (!document.load_buffer(packet.data(), packet.size(), pugi::parse_default, pugi::encoding_utf8)) return;
  const TPropertyReader properties(RdfElement(document.document_element()));
  title_ = SanitizeUtf8(properties.Title.value_or(""));
  description_ = SanitizeUtf8(properties.Description.value_or(""));
  for (const std::optional<std::string>& date : properties.Dates) {
    if (!date) continue;
    date_time_ = ExifDateTime(*date);
    if (!date_time_.empty()) break;
  }
}

}  // namespace folivant
