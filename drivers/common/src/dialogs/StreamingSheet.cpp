#include "drvcommon/StreamingSheet.h"

#include <cstdio>

#include "drvcommon/DriverFamily.h"
#include "drvcommon/DriverLog.h"
#include "drvcommon/resource.h"
#include "drvcore/dialogs.h"

namespace {

const wchar_t kStreamFilter[] = L"Transport streams (*.ts)|*.ts|binary files (*.bin)|*.bin||";
const wchar_t kAvFilter[] =
    L"All Files (*.mp2;*.psv;*.pva;*mpg)|*.mp2;*.psv;*.pva;*.mpg|MP2 Audio Files (*.mp2)|*.mp2|"
    L"PES Video Files (*.psv)|*.psv|PES Audio/Video Files (*.pva)|*.pva|PS Audio/Video Files (*.mpg)|*.mpg||";
constexpr int kFormatIds[] = {IDC_AV_FORMAT_MP2, IDC_AV_FORMAT_PSV, IDC_AV_FORMAT_PVA, IDC_AV_FORMAT_MPG};

}  // namespace

CPipeFilter::~CPipeFilter() = default;

// ---- the filter list both filter pages have ---------------------------------

IMPLEMENT_DYNAMIC(CFilterListPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CFilterListPage, CPropertyPage)
  ON_BN_CLICKED(IDC_STREAM_STOP, &ThisClass::OnStop)
  ON_BN_CLICKED(IDC_STREAM_BROWSE, &ThisClass::OnBrowse)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CFilterListPage::CFilterListPage(UINT nIDTemplate) : CPropertyPage(nIDTemplate) {}

void CFilterListPage::SetUpList() {
  m_list.SubclassDlgItem(IDC_STREAM_LIST, this);
  m_list.InsertColumn(0, L"PID", LVCFMT_LEFT, 40);
  m_list.InsertColumn(1, L"FILE", LVCFMT_LEFT, 80);
  m_list.InsertColumn(2, L"BITRATE", LVCFMT_LEFT, 80);
}

bool CFilterListPage::StartPipe(const CString& file, FILTERTYPE type, WORD pid, BYTE* value, BYTE* mask,
                                BYTE length) {
  auto* filter = new CPipeFilter;
  const bool ok = filter->SetFileParams(file.GetString(), CFile::modeCreate | CFile::modeWrite) == 0 &&
                  filter->StartFilter(type, pid, value, mask, length) == 0;
  if (!ok) {
    delete filter;  // a filter that did not start is not kept
    DialogMessageBox(this, "Failed to add filter", MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  char text[8];
  std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(pid));
  const int row = m_list.InsertItem(0, WideFromNarrow(text));
  if (row < 0) {
    filter->StopFilter();
    delete filter;
    return false;
  }
  m_list.SetItemData(row, reinterpret_cast<DWORD_PTR>(filter));
  return true;
}

void CFilterListPage::StopAll() {
  if (!m_list.GetSafeHwnd()) return;
  const int n = m_list.GetItemCount();
  for (int i = 0; i < n; ++i) {
    auto* filter = reinterpret_cast<CPipeFilter*>(m_list.GetItemData(i));
    m_list.SetItemData(i, 0);
    if (!filter) continue;
    filter->StopFilter();
    delete filter;
  }
  m_list.DeleteAllItems();
}

void CFilterListPage::BrowseInto(int fileId) {
  CFileDialog dialog(FALSE, L"ts", m_fileName, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kStreamFilter, this);
  if (dialog.DoModal() != IDOK) return;
  m_fileName = dialog.GetPathName();
  SetDlgItemText(fileId, m_fileName);
}

void CFilterListPage::OnStop() { StopAll(); }
void CFilterListPage::OnBrowse() { BrowseInto(m_fileId); }

void CFilterListPage::OnDestroy() {
  CPropertyPage::OnDestroy();
  StopAll();
}

// ---- Piping -----------------------------------------------------------------

IMPLEMENT_DYNAMIC(CStreamingPipingPage, CFilterListPage)

BEGIN_MESSAGE_MAP(CStreamingPipingPage, CFilterListPage)
  ON_BN_CLICKED(IDC_STREAM_ADD, &ThisClass::OnAdd)
END_MESSAGE_MAP()

CStreamingPipingPage::CStreamingPipingPage(UINT nIDTemplate) : CFilterListPage(nIDTemplate) {
  m_fileId = IDC_STREAM_FILE;
}

BOOL CStreamingPipingPage::OnInitDialog() {
  CFilterListPage::OnInitDialog();
  SetUpList();
  m_bufferSize.SubclassDlgItem(IDC_STREAM_BUFFER, this);
  m_bufferSize.SetCurSel(0);
  m_file.SubclassDlgItem(IDC_STREAM_FILE, this);
  m_pid.SubclassDlgItem(IDC_STREAM_PID, this);
  m_pid.LimitText(4);
  return TRUE;
}

void CStreamingPipingPage::OnAdd() {
  const int code = m_bufferSize.GetCurSel();
  CString file;
  m_file.GetWindowText(file);
  const DWORD pid = m_pid.GetValue();
  StartPipe(file, FILTERTYPE_PACKETS, static_cast<WORD>(pid & 0xFFFF), nullptr, nullptr,
            static_cast<BYTE>(code < 0 ? 0 : code));
}

// ---- SI/private sections -------------------------------------------------------

IMPLEMENT_DYNAMIC(CStreamingSIPage, CFilterListPage)

BEGIN_MESSAGE_MAP(CStreamingSIPage, CFilterListPage)
  ON_BN_CLICKED(IDC_STREAM_ADD, &ThisClass::OnAdd)
  ON_CONTROL_RANGE(BN_CLICKED, IDC_SI_PRIVATE, IDC_SI_DATA, &ThisClass::OnEnableStatesRange)
  ON_EN_KILLFOCUS(IDC_SI_SYNTAX_VALUE, &ThisClass::OnEnableStates)
END_MESSAGE_MAP()

CStreamingSIPage::CStreamingSIPage(UINT nIDTemplate, FILTERTYPE filterType)
    : CFilterListPage(nIDTemplate), m_filterType(filterType) {
  m_fileId = IDC_SI_FILE;
}

BOOL CStreamingSIPage::OnInitDialog() {
  CFilterListPage::OnInitDialog();
  SetUpList();
  m_file.SubclassDlgItem(IDC_SI_FILE, this);
  struct Field {
    CHexEdit* edit;
    int id;
    int limit;  // 0: none
    const wchar_t* text;
  };
  const Field fields[] = {
      {&m_pid, IDC_STREAM_PID, 4, L"0"},        {&m_tableId, IDC_SI_TABLE_ID, 2, L"0"},
      {&m_tableMask, IDC_SI_TABLE_MASK, 2, L"FF"}, {&m_syntax, IDC_SI_SYNTAX_VALUE, 1, L"0"},
      {&m_private, IDC_SI_PRIVATE_VALUE, 1, L"0"}, {&m_extension, IDC_SI_EXTENSION_VALUE, 4, L"0"},
      {&m_version, IDC_SI_VERSION_VALUE, 1, L"0"}, {&m_currentNext, IDC_SI_CURNEXT_VALUE, 0, L"0"},
      {&m_section, IDC_SI_SECTION_VALUE, 1, L"0"}, {&m_lastSection, IDC_SI_LASTSECTION_VALUE, 1, L"0"},
      {&m_data, IDC_SI_DATA_VALUE, 32, L"0"},      {&m_dataMask, IDC_SI_DATA_MASK, 32, L"0"},
  };
  for (const Field& f : fields) {
    f.edit->SubclassDlgItem(f.id, this);
    if (f.limit) f.edit->LimitText(f.limit);
    f.edit->SetWindowText(f.text);
  }
  UpdateEnabledStates();
  return TRUE;
}

void CStreamingSIPage::UpdateEnabledStates() {
  drvcore::SectionFilterChecks c;
  c.syntax = IsDlgButtonChecked(IDC_SI_SYNTAX) != 0;
  c.privateIndicator = IsDlgButtonChecked(IDC_SI_PRIVATE) != 0;
  c.extension = IsDlgButtonChecked(IDC_SI_EXTENSION) != 0;
  c.version = IsDlgButtonChecked(IDC_SI_VERSION) != 0;
  c.currentNext = IsDlgButtonChecked(IDC_SI_CURNEXT) != 0;
  c.section = IsDlgButtonChecked(IDC_SI_SECTION) != 0;
  c.lastSection = IsDlgButtonChecked(IDC_SI_LASTSECTION) != 0;
  c.data = IsDlgButtonChecked(IDC_SI_DATA) != 0;
  const drvcore::SectionFilterEnables e = drvcore::SectionFilterEnabledStates(c, m_syntax.GetValue());
  auto enable = [this](int id, bool on) {
    if (CWnd* w = GetDlgItem(id)) w->EnableWindow(on ? TRUE : FALSE);
  };
  enable(IDC_SI_PRIVATE, true);
  enable(IDC_SI_PRIVATE_VALUE, e.privateValue);
  enable(IDC_SI_SYNTAX_VALUE, e.syntaxValue);
  for (int id = IDC_SI_EXTENSION; id <= IDC_SI_LASTSECTION; ++id) enable(id, e.headerChecks);
  enable(IDC_SI_EXTENSION_VALUE, e.extension);
  enable(IDC_SI_VERSION_VALUE, e.version);
  enable(IDC_SI_CURNEXT_VALUE, e.currentNext);
  enable(IDC_SI_SECTION_VALUE, e.section);
  enable(IDC_SI_LASTSECTION_VALUE, e.lastSection);
  enable(IDC_SI_DATA, e.dataCheck);
  enable(IDC_SI_DATA_VALUE, e.data);
  enable(IDC_SI_DATA_MASK, e.data);
}

void CStreamingSIPage::OnEnableStates() { UpdateEnabledStates(); }
void CStreamingSIPage::OnEnableStatesRange(UINT) { UpdateEnabledStates(); }

void CStreamingSIPage::OnAdd() {
  CString file;
  m_file.GetWindowText(file);
  m_fileName = file;
  auto on = [this](const CWnd& w) { return w.GetSafeHwnd() && ::IsWindowEnabled(w.GetSafeHwnd()); };
  drvcore::SectionFilterFields f;
  f.tableId = m_tableId.GetValue();
  f.tableIdMask = m_tableMask.GetValue();
  f.syntaxEnabled = on(m_syntax);
  f.syntax = m_syntax.GetValue();
  f.privateEnabled = on(m_private);
  f.privateIndicator = m_private.GetValue();
  f.extensionEnabled = on(m_extension);
  f.extension = m_extension.GetValue();
  f.versionEnabled = on(m_version);
  f.version = m_version.GetValue();
  f.currentNextEnabled = on(m_currentNext);
  f.currentNext = m_currentNext.GetValue();
  f.sectionEnabled = on(m_section);
  f.sectionNumber = m_section.GetValue();
  f.lastSectionEnabled = on(m_lastSection);
  f.lastSectionNumber = m_lastSection.GetValue();
  f.dataEnabled = on(m_data) && on(m_dataMask);
  f.data = WindowTextNarrow(&m_data);
  f.dataMask = WindowTextNarrow(&m_dataMask);
  const auto bytes = drvcore::BuildSectionFilter(f);
  if (!bytes) {
    DialogMessageBox(this, "Please insert data and mask as hexadecimal digits, two a byte!",
                     MB_OK | MB_ICONEXCLAMATION, "Error");
    return;
  }
  std::copy(bytes->value.begin(), bytes->value.end(), m_value);
  std::copy(bytes->mask.begin(), bytes->mask.end(), m_mask);
  StartPipe(file, m_filterType, static_cast<WORD>(m_pid.GetValue() & 0xFFFF), m_value, m_mask,
            static_cast<BYTE>(drvcore::kSectionFilterLength));
}

// ---- A/V streaming ---------------------------------------------------------------

IMPLEMENT_DYNAMIC(CStreamingAVPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CStreamingAVPage, CPropertyPage)
  ON_BN_CLICKED(IDC_AV_SET_ALL, &ThisClass::OnSetAll)
  ON_BN_CLICKED(IDC_AV_SET_AUDIO, &ThisClass::OnSetAudio)
  ON_BN_CLICKED(IDC_AV_SET_VIDEO, &ThisClass::OnSetVideo)
  ON_BN_CLICKED(IDC_STREAM_BROWSE, &ThisClass::OnBrowse)
  ON_BN_CLICKED(IDC_AV_RECORD, &ThisClass::OnRecord)
  ON_BN_CLICKED(IDC_STREAM_STOP, &ThisClass::OnStopRecording)
  ON_WM_DESTROY()
END_MESSAGE_MAP()

CStreamingAVPage::CStreamingAVPage(UINT nIDTemplate) : CPropertyPage(nIDTemplate) {}

BOOL CStreamingAVPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  const struct {
    CHexEdit* edit;
    int id;
    const wchar_t* text;
  } pids[] = {{&m_audio, IDC_AV_AUDIO, L"0100"}, {&m_video, IDC_AV_VIDEO, L"0101"}, {&m_pcr, IDC_AV_PCR, L"0101"}};
  for (const auto& p : pids) {
    p.edit->SubclassDlgItem(p.id, this);
    p.edit->LimitText(4);
    p.edit->SetWindowText(p.text);
  }
  ShowFormat();
  if (CWnd* stop = GetDlgItem(IDC_STREAM_STOP)) stop->EnableWindow(FALSE);
  return TRUE;
}

WORD CStreamingAVPage::Pid(const CHexEdit& edit) const { return static_cast<WORD>(edit.GetValue() & 0xFFFF); }

void CStreamingAVPage::UpdateFormat() {
  m_format = -1;
  for (int i = 0; i < 4; ++i)
    if (IsDlgButtonChecked(kFormatIds[i])) m_format = i;
}

void CStreamingAVPage::ShowFormat() {
  for (int i = 0; i < 4; ++i) CheckDlgButton(kFormatIds[i], i == m_format ? BST_CHECKED : BST_UNCHECKED);
}

void CStreamingAVPage::OnSetAll() {
  if (m_control.SetPIDs(Pid(m_audio), Pid(m_video), Pid(m_pcr)) != 0)
    DialogMessageBox(this, "Could not set PIDs!", MB_OK | MB_ICONEXCLAMATION);
}

void CStreamingAVPage::OnSetAudio() {
  if (m_control.SetAudioPID(Pid(m_audio)) != 0)
    DialogMessageBox(this, "Could not set Audio PID!", MB_OK | MB_ICONEXCLAMATION);
}

void CStreamingAVPage::OnSetVideo() {
  if (m_control.SetVideoPID(Pid(m_video)) != 0)
    DialogMessageBox(this, "Could not set Video PID!", MB_OK | MB_ICONEXCLAMATION);
}

void CStreamingAVPage::OnBrowse() {
  UpdateFormat();
  CFileDialog dialog(FALSE, WideFromNarrow(drvcore::RecordingExtension(m_format)), nullptr,
                     OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kAvFilter, this);
  if (dialog.DoModal() != IDOK) return;
  m_format = drvcore::RecordingFormatFromExtension(NarrowFromCString(dialog.GetFileExt()));
  ShowFormat();
  SetDlgItemText(IDC_STREAM_FILE, dialog.GetPathName());
}

void CStreamingAVPage::OnRecord() {
  CString file;
  GetDlgItemText(IDC_STREAM_FILE, file);
  UpdateFormat();
  const auto format = static_cast<REC_PLAY_FILE_FORMAT>(drvcore::RecordingFormatValue(m_format));
  if (!m_recorder.Open(file.GetString(), format, 0)) {
    DialogMessageBox(this, "failed to open file", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  if (!m_recorder.Record()) {
    m_recorder.Close();
    DialogMessageBox(this, "failed to start recording", MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  m_recording = true;
  if (CWnd* stop = GetDlgItem(IDC_STREAM_STOP)) stop->EnableWindow(TRUE);
  if (CWnd* start = GetDlgItem(IDC_AV_RECORD)) start->EnableWindow(FALSE);
}

void CStreamingAVPage::OnStopRecording() {
  m_recorder.Stop();
  m_recorder.Close();
  m_recording = false;
  if (CWnd* stop = GetDlgItem(IDC_STREAM_STOP)) stop->EnableWindow(FALSE);
  if (CWnd* start = GetDlgItem(IDC_AV_RECORD)) start->EnableWindow(TRUE);
}

void CStreamingAVPage::OnDestroy() {
  CPropertyPage::OnDestroy();
  if (m_recording) {
    m_recorder.Stop();
    m_recorder.Close();
    m_recording = false;
  }
}

// ---- the sheet --------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CStreamingSheet, CPropertySheet)

CStreamingSheet::CStreamingSheet(const DriverFamily& family, CWnd* parent)
    : CPropertySheet(L"Streaming", parent),
      m_piping(family.dialogs.piping),
      m_av(family.dialogs.avStreaming ? family.dialogs.avStreaming : family.dialogs.piping),
      m_si(family.dialogs.siSections, family.sectionFilterType),
      m_tsRecording(family.dialogs.tsRecording ? family.dialogs.tsRecording : family.dialogs.piping) {
  AddPage(&m_piping);
  if (family.dialogs.avStreaming) AddPage(&m_av);
  AddPage(&m_si);
  if (family.dialogs.tsRecording) AddPage(&m_tsRecording);
}
