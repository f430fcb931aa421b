#pragma once
// The SI tree: every network, transport stream, table, section, loop entry and
// descriptor of the store, as labelled nodes with the item each node carries.
//
// The builders write to a TreeSink (append a child with a label and an item);
// the tree control of the tree pane is one sink, TextTreeSink (indented text)
// another.  Labels are UTF-8.  Items point into the store and never copy it,
// so a tree is valid only while the store is unchanged.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "orb_store/si_store.h"

namespace orb::ui {

// The kinds of element nodes: one per record type and value pane routine.
enum class ElementKind : std::uint8_t {
#define ORB_TREE_ELEMENT(kind, type, show) kind,
#include "ui_core/tree_elements.def"
#undef ORB_TREE_ELEMENT
};
inline constexpr int kElementKindCount = 0
#define ORB_TREE_ELEMENT(kind, type, show) +1
#include "ui_core/tree_elements.def"
#undef ORB_TREE_ELEMENT
    ;

// The record type of each kind (ElementType<ElementKind::Cat> is
// lib13818::ConditionalAccessSection).
template <ElementKind K>
struct ElementTypeOf;
#define ORB_TREE_ELEMENT(kind, record, show) \
  template <>                                \
  struct ElementTypeOf<ElementKind::kind> {  \
    using type = lib13818::record;           \
  };
#include "ui_core/tree_elements.def"
#undef ORB_TREE_ELEMENT
template <ElementKind K>
using ElementType = typename ElementTypeOf<K>::type;

// "ShowCat", ...: the value pane routine that shows an element of the kind.
const char* ShowRoutineName(ElementKind kind);

// The item data of a node.
struct TreeItem {
  enum class Kind : std::uint8_t {
    None,         // a list node: inert
    Pane,         // selecting it empties the value pane
    Network,      // data: the lib13818::Network
    Transponder,  // data: the lib13818::Transponder; context menu 145
    Element,      // data: the element; the value pane shows it
  };
  Kind kind = Kind::None;
  ElementKind element = ElementKind::Cat;
  const void* data = nullptr;

  static TreeItem None() { return {}; }
  static TreeItem Pane() { return {Kind::Pane, ElementKind::Cat, nullptr}; }
  static TreeItem ForNetwork(const lib13818::Network& n) { return {Kind::Network, ElementKind::Cat, &n}; }
  static TreeItem ForTransponder(const lib13818::Transponder& t) {
    return {Kind::Transponder, ElementKind::Cat, &t};
  }
  template <ElementKind K>
  static TreeItem Element(const ElementType<K>& e) {
    return {Kind::Element, K, &e};
  }
};

// The context menu of a node's item (0: none): 145 transponder, 144 PMT
// program, 148/139/140 satellite, cable and terrestrial delivery descriptors.
unsigned ContextMenuOf(const TreeItem& item);

using TreeNode = void*;  // a sink's node handle; nullptr is the top level

class TreeSink {
 public:
  virtual ~TreeSink() = default;
  // Appends a node as the last child of `parent` and gives it `item`.
  virtual TreeNode Append(TreeNode parent, std::string_view label, const TreeItem& item) = 0;
  // A progress line of the build (the window's sink logs it at level 2).
  virtual void Log(const std::string& /*line*/) {}
  // What the items are bound to (the value pane), for the log lines.
  virtual const void* Context() const { return nullptr; }
};

// The service name for a PMT program or an EIT service: the service_name of
// the first service descriptor of the first service entry with that
// service_id (and at least one service descriptor) in the SDT actual sections
// of (original_network_id, transport_stream_id); "<service not in SDT>" when
// there is none.
void GetServiceName(const lib13818::SdtSectionMap& sdtActual, lib13818::u32 service_id,
                    lib13818::u32 transport_stream_id, lib13818::u32 original_network_id,
                    std::string& name);

// The ISO/IEC 13818-1 name of a stream_type ("ISO13818-2 VIDEO", "RESERVED",
// "USER PRIVATE").
const char* StreamTypeText(int stream_type);

// The registered name of a network id as UTF-8 ("<unknown>" when none).
std::string NetworkNameUtf8(lib13818::u32 network_id);

// The builders.  Every node is appended as the last child of its parent, in
// the order of the store; nothing is sorted.
class SiTreeBuilder {
 public:
  explicit SiTreeBuilder(TreeSink& sink) : sink_(sink) {}

  // "ALL NETWORKS" and everything below it.  With `withTables` false the
  // transponder nodes get no children (AddTransponderTables adds them later).
  TreeNode BuildAllNetworks(const lib13818::NetworkMap& networks, bool withTables = true);
  // The transponder nodes of one network under `parent`.
  void SetTable(TreeNode parent, const lib13818::Network& network, bool withTables = true);
  // The table subtrees of one transport stream, in their fixed order.
  void AddTransponderTables(TreeNode node, const lib13818::Transponder& ts, lib13818::u32 network_id);
  // Whether AddTransponderTables would add anything.
  static bool HasTables(const lib13818::Transponder& ts);

  void AddCat(TreeNode parent, const lib13818::ConditionalAccessSection& cat);
  void AddNit(TreeNode parent, const lib13818::NitSectionMap& actual, const lib13818::NitSectionMap& other);
  void AddNitNetwork(TreeNode tableNode, const lib13818::NitSectionMap& nit);
  void AddNitSection(TreeNode networkNode, const std::map<lib13818::u32, lib13818::NetworkInformationSection>& sections);
  void AddSdt(TreeNode parent, const lib13818::SdtSectionMap& actual, const lib13818::SdtSectionMap& other);
  void AddSdtOriginalNetwork(TreeNode tableNode, const lib13818::SdtSectionMap& sdt);
  void AddSdtTransportStream(TreeNode networkNode,
                             const std::map<lib13818::u32, std::map<lib13818::u32, lib13818::ServiceDescriptionSection>>& streams);
  void AddSdtSection(TreeNode streamNode, const std::map<lib13818::u32, lib13818::ServiceDescriptionSection>& sections);
  void AddBat(TreeNode parent, const lib13818::BouquetAssociationSection& bat);
  void AddPat(TreeNode parent, const lib13818::ProgramAssociationSection& pat);
  void AddRst(TreeNode parent, const lib13818::RunningStatusSection& rst);
  void AddTdt(TreeNode parent, const lib13818::TimeDateSection& tdt);
  void AddTot(TreeNode parent, const lib13818::TimeOffsetSection& tot);
  void AddPmt(TreeNode parent, const lib13818::ProgramAssociationSection& pat,
              const std::vector<lib13818::ProgramMapSection>& pmts, const lib13818::SdtSectionMap& sdtActual,
              lib13818::u32 network_id);
  void AddEit(TreeNode parent, const lib13818::EitSectionMap& pfActual, const lib13818::EitSectionMap& pfOther,
              const lib13818::EitSectionMap& schedActual, const lib13818::EitSectionMap& schedOther,
              const lib13818::SdtSectionMap& sdtActual);
  void AddEitNetwork(TreeNode subTableNode, const lib13818::EitSectionMap& eit, const lib13818::SdtSectionMap& sdtActual);
  void AddEitTransportStream(TreeNode networkNode, const lib13818::EitSectionMap::mapped_type& streams,
                             const lib13818::SdtSectionMap& sdtActual, lib13818::u32 original_network_id);
  void AddEitService(TreeNode streamNode, const lib13818::EitSectionMap::mapped_type::mapped_type& services,
                     const lib13818::SdtSectionMap& sdtActual, lib13818::u32 transport_stream_id,
                     lib13818::u32 original_network_id);
  void AddEitEvents(TreeNode serviceNode,
                    const std::map<lib13818::u32, lib13818::EventInformationSection>& sections);
  void AddEventDescriptors(TreeNode sectionNode, const lib13818::EventInformationSection& section);

  // The 69 descriptor lists of one loop, in their fixed order.
  void AddDescriptorSet(TreeNode parent, const lib13818::DescriptorSet& set);

 private:
  TreeNode Append(TreeNode parent, std::string_view label, const TreeItem& item) {
    return sink_.Append(parent, label, item);
  }

  TreeSink& sink_;
};

// A sink that keeps the tree in memory (the tree pane inserts nodes from it
// into its control as they are expanded) and writes it as indented text: one
// line per node, two blanks per level, the label, and the item in braces
// ("{pane}", "{network}", "{transponder menu 145}", "{ShowCat}",
// "{ShowPmt menu 144}"); list nodes have no braces.  Node handles are
// IndexOf/NodeAt of the node's index.
class TextTreeSink : public TreeSink {
 public:
  struct Node {
    std::string label;
    TreeItem item;
    std::vector<std::size_t> children;
  };
  static TreeNode NodeAt(std::size_t index) { return reinterpret_cast<TreeNode>(index + 1); }
  static std::size_t IndexOf(TreeNode node) { return reinterpret_cast<std::uintptr_t>(node) - 1; }

  TreeNode Append(TreeNode parent, std::string_view label, const TreeItem& item) override;

  std::string Text() const;
  const std::vector<Node>& nodes() const { return nodes_; }
  const std::vector<std::size_t>& roots() const { return roots_; }
  // The node with this path of labels from the top ("ALL NETWORKS", ...);
  // null when there is none.
  const Node* Find(const std::vector<std::string>& path) const;
  const Node& At(std::size_t index) const { return nodes_[index]; }
  void Clear() {
    nodes_.clear();
    roots_.clear();
  }

 private:
  void Write(std::string& out, std::size_t index, int depth) const;

  std::vector<Node> nodes_;
  std::vector<std::size_t> roots_;
};

using TreeModel = TextTreeSink;

// "{...}" text of an item as TextTreeSink writes it (empty for a list node).
std::string DescribeItem(const TreeItem& item);

}  // namespace orb::ui
