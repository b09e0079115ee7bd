#include "document/CQuirraDoc.h"

#include <QColorDialog>

#include "document/CPropertiesDlg.h"
#include "model/DocumentFileContent.h"
#include "platform/core/CArchive.h"
#include "platform/core/CDC.h"
#include "platform/qt/ArchiveFile.h"
#include "platform/qt/ModalFrame.h"
#include "res/CommandIds.h"

namespace {

using Map = MessageMap<CQuirraDoc>;

// The Pen and Brush items each carry one value; their check mark shows whether the effective
// attribute has it. None of them is ever disabled.
struct ValueItem {
  int id;
  int value;
};
constexpr ValueItem kPenStyles[] = {{ID_PEN_STYLE_NULL, PS_NULL},       {ID_PEN_STYLE_SOLID, PS_SOLID},
                                    {ID_PEN_STYLE_DASH, PS_DASH},       {ID_PEN_STYLE_DOT, PS_DOT},
                                    {ID_PEN_STYLE_DASHDOT, PS_DASHDOT}, {ID_PEN_STYLE_DASHDOTDOT, PS_DASHDOTDOT}};
constexpr ValueItem kPenWidths[] = {{ID_PEN_WIDTH_NORMAL, 1}, {ID_PEN_WIDTH_BOLD, 2}, {ID_PEN_WIDTH_EXTRABOLD, 3}};
constexpr ValueItem kBrushStyles[] = {
    {ID_BRUSH_STYLE_PAINT, kBrushPaint},        {ID_BRUSH_STYLE_TRANSPARENT, kBrushTransparent},
    {ID_BRUSH_STYLE_HORIZONTAL, HS_HORIZONTAL}, {ID_BRUSH_STYLE_VERTICAL, HS_VERTICAL},
    {ID_BRUSH_STYLE_BDIAGONAL, HS_BDIAGONAL},   {ID_BRUSH_STYLE_FDIAGONAL, HS_FDIAGONAL},
    {ID_BRUSH_STYLE_CROSS, HS_CROSS},           {ID_BRUSH_STYLE_CROSSDIAGONAL, HS_DIAGCROSS}};
constexpr ValueItem kTools[] = {{ID_OBJECT_LINE, kLine},
                                {ID_OBJECT_BEZIER, kBezier},
                                {ID_OBJECT_ELLIPSE, kEllipse},
                                {ID_OBJECT_RECTANGLE, kRectangle},
                                {ID_OBJECT_POLYGONRECT, kPolygonRect}};
constexpr std::pair<int, int> kZooms[] = {
    {ID_ZOOM_50, 50}, {ID_ZOOM_100, 100}, {ID_ZOOM_200, 200}, {ID_ZOOM_300, 300}, {ID_ZOOM_500, 500}};

template <typename Items, typename Apply, typename Effective>
void AddValueItems(std::vector<Map::Command>& commands, std::vector<Map::Update>& updates, const Items& items,
                   Apply apply, Effective effective) {
  for (const ValueItem& item : items) {
    commands.push_back({item.id, [apply, v = item.value](CQuirraDoc& d) { (d.*apply)(v); }});
    updates.push_back(
        {item.id, [effective, v = item.value](CQuirraDoc& d, CCmdUI& ui) { ui.SetCheck((d.*effective)() == v); }});
  }
}

}  // namespace

const Map& CQuirraDoc::GetMessageMap() {
  static const Map map = [] {
    std::vector<Map::Command> commands;
    std::vector<Map::Update> updates;
    auto gripped = [](const CQuirraDoc& d) { return d.m_hitMode != HIT_NONE; };

    for (const ValueItem& item : kTools) {
      commands.push_back({item.id, [v = item.value](CQuirraDoc& d) { d.m_tool = v; }});
      updates.push_back({item.id, [v = item.value, gripped](CQuirraDoc& d, CCmdUI& ui) {
                           ui.SetCheck(d.m_tool == v);
                           ui.Enable(!gripped(d));
                         }});
    }
    commands.push_back({ID_PEN_COLOR, [](CQuirraDoc& d) { d.OnColor(true); }});
    commands.push_back({ID_BRUSH_COLOR, [](CQuirraDoc& d) { d.OnColor(false); }});
    AddValueItems(commands, updates, kPenStyles, &CQuirraDoc::ApplyPenStyle, &CQuirraDoc::EffectivePenStyle);
    AddValueItems(commands, updates, kPenWidths, &CQuirraDoc::ApplyPenWidth, &CQuirraDoc::EffectivePenWidth);
    AddValueItems(commands, updates, kBrushStyles, &CQuirraDoc::ApplyBrushStyle, &CQuirraDoc::EffectiveBrushStyle);
    commands.push_back({ID_EDIT_PROPERTIES, [](CQuirraDoc& d) { d.OnEditProperties(); }});

    // Edit and View items: the views carry the commands, the document says when they may run.
    auto enableWhen = [&updates](int id, std::function<bool(const CQuirraDoc&)> rule) {
      updates.push_back({id, [rule](CQuirraDoc& d, CCmdUI& ui) { ui.Enable(rule(d)); }});
    };
    auto notTop = [gripped](const CQuirraDoc& d) {
      return gripped(d) && d.GetDrawing().GetSelected() < d.GetDrawing().GetUpperBound();
    };
    auto notBottom = [gripped](const CQuirraDoc& d) { return gripped(d) && d.GetDrawing().GetSelected() > 0; };
    enableWhen(ID_EDIT_DELETE, gripped);
    enableWhen(ID_EDIT_TOTALLYFORWARDS, notTop);
    enableWhen(ID_EDIT_FORWARDS, notTop);
    enableWhen(ID_EDIT_BACKWARDS, notBottom);
    enableWhen(ID_EDIT_TOTALLYBACKWARDS, notBottom);
    enableWhen(ID_EDIT_CUT, gripped);
    enableWhen(ID_EDIT_COPY, gripped);
    enableWhen(ID_EDIT_PROPERTIES, gripped);
    enableWhen(ID_EDIT_UNDO, [](const CQuirraDoc& d) { return d.CanUndo(); });
    enableWhen(ID_EDIT_REDO, [](const CQuirraDoc& d) { return d.CanRedo(); });
    updates.push_back({ID_EDIT_ROTATE, [](CQuirraDoc& d, CCmdUI& ui) { ui.SetCheck(d.GetDrawing().GetRotateMode()); }});
    for (const auto& [id, zoom] : kZooms)
      updates.push_back({id, [z = zoom](CQuirraDoc& d, CCmdUI& ui) { ui.SetCheck(d.GetDrawing().GetZoom() == z); }});
    return Map(std::move(commands), std::move(updates));
  }();
  return map;
}

// The drawing exists from the start, so the update handlers can be asked before a file is read.
CQuirraDoc::CQuirraDoc() : drawing(std::make_unique<CTavlo>()) { m_history.setUndoLimit(kHistorySteps); }

CQuirraDoc::~CQuirraDoc() = default;

void CQuirraDoc::DeleteContents() {
  m_history.clear();
  m_stepDepth = 0;
  drawing = std::make_unique<CTavlo>();
  Base::DeleteContents();
}

void CQuirraDoc::CommitEdits(GripState before) {
  ShapeEdits edits = drawing->EndEdits();
  if (InStep()) drawing->BeginEdits();
  if (!edits.Empty()) m_history.push(new DrawingStep(*this, std::move(edits), before, CurrentGrip()));
}

void CQuirraDoc::BeginStep() {
  if (m_stepDepth++ > 0) return;
  TakeBaseline();
  m_stepStart = CurrentGrip();
  m_stepTool = m_tool;
  drawing->BeginEdits();
}

void CQuirraDoc::EndStep() {
  if (m_stepDepth == 0 || --m_stepDepth > 0) return;
  CommitEdits(m_stepStart);
  FollowContent();
}

void CQuirraDoc::CancelStep() {
  if (m_stepDepth != 1) return;
  m_stepDepth = 0;
  drawing->EndEdits().Undo(*drawing);
  drawing->SetSelected(m_stepStart.selected);
  Grip(m_stepStart.hitMode, m_stepStart.hitPart);
  m_tool = m_stepTool;
  FollowContent();
}

void CQuirraDoc::Undo() {
  if (InStep()) return;
  TakeBaseline();
  m_history.undo();
  FollowContent();
}

void CQuirraDoc::Redo() {
  if (InStep()) return;
  TakeBaseline();
  m_history.redo();
  FollowContent();
}

bool CQuirraDoc::OnSaveDocument(const QString& path, const FileProgress& progress) {
  // Saved in the middle of a gesture, what is saved is the drawing as it is now: the gesture so far
  // becomes an entry of its own, and the rest of it another.
  if (InStep()) {
    CommitEdits(m_stepStart);
    m_stepStart = CurrentGrip();
    m_stepTool = m_tool;
  }
  return Base::OnSaveDocument(path, progress);
}

void CQuirraDoc::OnBaseline(Baseline baseline) {
  if (baseline == Baseline::written) m_history.setClean();
  if (baseline != Baseline::recovered) {
    // The drawing as it is now is what the file holds; its fingerprint can wait for the first change.
    m_baselinePending = true;
    if (InStep()) TakeBaseline();
  } else {
    // The history starts at the copy, which is no state the file holds.
    m_history.resetClean();
    m_baselinePending = false;
    if (GetPathName().isEmpty())
      m_fileShapes = ShapesFingerprint();
    else if (const std::optional<DocumentFileContent> file = ReadFile())
      m_fileShapes = file->drawing.GetFingerprint();
    else
      m_fileShapes.reset();
  }
  FollowContent();
}

void CQuirraDoc::TakeBaseline() {
  if (!m_baselinePending) return;
  m_fileShapes = drawing->GetFingerprint();
  m_baselinePending = false;
}

std::optional<DocumentFileContent> CQuirraDoc::ReadFile() const {
  DocumentFileContent file;
  if (!LoadFileThroughArchive(GetPathName(), [&file](CArchive& ar) { file.Serialize(ar); }).isEmpty())
    return std::nullopt;
  return file;
}

void CQuirraDoc::FollowContent() {
  SetModifiedFlag(DiffersFromFile());
  UpdateAllViews();
}

bool CQuirraDoc::DiffersFromFile() {
  // The history knows the state it was saved or opened in, as long as no change is still pending.
  if (m_baselinePending || (m_history.isClean() && !drawing->HasEdits())) return false;
  if (!m_fileShapes || drawing->GetFingerprint() != *m_fileShapes) return true;
  if (m_fileShapes->Count() == 0) return false;
  // Equal fingerprints: only the file can say for sure. This is rare (a change made and then taken
  // back by hand), and once known, the history remembers it.
  const std::optional<DocumentFileContent> file = ReadFile();
  const bool same = file && file->drawing.GetShapes() == drawing->GetShapes();
  if (same && !drawing->HasEdits()) m_history.setClean();
  return !same;
}

void CQuirraDoc::Grip(int mode, int part) {
  m_hitPart = part;
  m_hitMode = drawing->GetSelected() >= 0 ? mode : HIT_NONE;
}

void CQuirraDoc::Pick(int index, int mode, int part) {
  drawing->SetSelected(index);
  Grip(mode, part);
  if (drawing->GetSelected() >= 0) m_tool = drawing->GetShape(0).GetType();
}

void CQuirraDoc::Serialize(CArchive& ar) {
  int32_t mode = m_hitMode, part = m_hitPart;
  DocumentFileContent::SerializeDocument(ar, *drawing, mode, part);
  // A shape that opens selected is picked, as after a double-click on it.
  if (ar.IsStoring())
    Grip(mode, part);
  else
    Pick(drawing->GetSelected(), mode, part);
}

template <typename Value>
void CQuirraDoc::Apply(Value& field, void (CShape::*setter)(Value), Value value) {
  if (m_hitMode == HIT_NONE) {
    field = value;
    return;
  }
  CShape shape = drawing->GetShape(0);
  (shape.*setter)(value);
  const Step step(*this);
  drawing->SetShape(shape, 0);
}

void CQuirraDoc::ApplyPenWidth(int width) { Apply(m_attributes.penWidth, &CShape::SetPenWidth, width); }
void CQuirraDoc::ApplyPenStyle(int style) { Apply(m_attributes.penStyle, &CShape::SetPenStyle, style); }
void CQuirraDoc::ApplyBrushStyle(int style) { Apply(m_attributes.brushStyle, &CShape::SetBrushStyle, style); }

int CQuirraDoc::EffectivePenWidth() const {
  return m_hitMode == HIT_NONE ? m_attributes.penWidth : drawing->GetShape(0).GetPenWidth();
}
int CQuirraDoc::EffectivePenStyle() const {
  return m_hitMode == HIT_NONE ? m_attributes.penStyle : drawing->GetShape(0).GetPenStyle();
}
int CQuirraDoc::EffectiveBrushStyle() const {
  return m_hitMode == HIT_NONE ? m_attributes.brushStyle : drawing->GetShape(0).GetBrushStyle();
}

void CQuirraDoc::OnColor(bool pen) {
  if (!colorDialog) {
    colorDialog = std::make_unique<QColorDialog>();
    colorDialog->setOption(QColorDialog::DontUseNativeDialog);
    SetModalFrame(colorDialog.get());
  }
  // Each time the dialog opens on its own first choice, not on any shape's colour.
  colorDialog->setCurrentColor(QColor(Qt::black));
  if (colorDialog->exec() != QDialog::Accepted) return;
  const QColor c = colorDialog->selectedColor();
  const COLORREF value = RGB(uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue()));
  if (pen)
    Apply(m_attributes.penColor, &CShape::SetPenColor, value);
  else
    Apply(m_attributes.brushColor, &CShape::SetBrushColor, value);
}

void CQuirraDoc::OnEditProperties() {
  CPropertiesDlg dlg;
  dlg.shape = drawing->GetShape(0);
  dlg.objectNumber = drawing->GetSelected();
  dlg.DoModal();
}
