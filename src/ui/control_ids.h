#pragma once
// Control ids by name, for the code that reads and writes them. The ids are
// fixed: the parameters file and the control table use the same numbers.
namespace ui::ControlId {

constexpr int Exit = 0;
constexpr int FinalDigit1 = 3, FinalDigit3 = 4, FinalDigit7 = 5, FinalDigit9 = 6;
// The start-digit boxes 1..9 are consecutive ids, then 0.
constexpr int StartDigit1 = 8, StartDigit2 = 9, StartDigit3 = 10, StartDigit4 = 11, StartDigit5 = 12;
constexpr int StartDigit6 = 13, StartDigit7 = 14, StartDigit8 = 15, StartDigit9 = 16, StartDigit0 = 17;
constexpr int TotalDigits = 19;
constexpr int StartGeneration = 20;
constexpr int ResultsList = 21;
constexpr int CopyAll = 22;
constexpr int ExportToExcel = 23;
constexpr int SaveParameters = 24;
constexpr int LoadParameters = 25;
constexpr int WorkDirectory = 27;
constexpr int AllowReturm = 28;
constexpr int OnSegment = 29;
constexpr int BlockSize = 31;
constexpr int Segment = 33;
constexpr int Phi = 34;
constexpr int About = 35;
constexpr int VerifyFromFile = 36;
constexpr int VerifyClipboard = 37;
constexpr int YourNumber = 39;
constexpr int YourNumberPaste = 41;
constexpr int Check = 42;
constexpr int SaveNumber = 44;
constexpr int YourNumberCopy = 45;
constexpr int YourNumberClear = 46;
constexpr int ClearResults = 48;
constexpr int Tot = 50;
constexpr int DivisorLimitField = 51;
constexpr int Stop = 53;
constexpr int CopyLine = 54;
constexpr int Website = 55;
constexpr int Div1 = 56;
constexpr int ChaosLevel = 58;
constexpr int Qty = 59;
constexpr int SegmentStart = 62;
constexpr int SegmentEnd = 64;
constexpr int DigitView = 65;
constexpr int DigitStatistics = 66;
constexpr int Operand = 68;
constexpr int OperandPaste = 73;
constexpr int OperandCopy = 74;
constexpr int OperandClear = 75;
constexpr int UndoLastCalc = 80;
constexpr int OperandOne = 81;
constexpr int OperandTwo = 82;
constexpr int SetWorkDirectory = 83;
constexpr int AutoUndo = 88;
constexpr int DigitCountDisplay = 90;
constexpr int View = 91;
constexpr int DivideByTen = 94;
constexpr int MemoryStore = 96;
constexpr int MemoryRecall = 97;
constexpr int MemoryClear = 98;
constexpr int CalculatorHelp = 100;
constexpr int Analyze = 103;
constexpr int IsPrime = 104;
constexpr int Fact = 105;
constexpr int UserManual = 106;
constexpr int LimitsList = 107;
constexpr int LimitsValue = 108;
constexpr int Apply = 109;
constexpr int MemoryAdd = 110;
constexpr int MemorySubtract = 111;
constexpr int StatusLine = 112;
constexpr int CurrentNumberFrame = 114;
constexpr int MemoryOption = 116;
constexpr int OperandOption = 117;
constexpr int CalculatorClear = 118;
constexpr int MemorySwap = 119;
constexpr int OperandLabel = 120;
constexpr int LoadNumber = 123;
constexpr int MemoryDisplay = 124;
constexpr int YourNumberToDisplay = 125;
constexpr int YourNumberToMemory = 127;
constexpr int CopyNumber = 128;
constexpr int RunPrp = 129;
constexpr int NextPrevElapsed = 130;  // the time field beside "P~N"
constexpr int PrpElapsed = 132;       // the time field beside "PRP"
constexpr int Mersenne = 135;
constexpr int TestMode = 136;
constexpr int Div2 = 137;
constexpr int Div3 = 138;
constexpr int LoadPrevious = 143;
constexpr int IsPElapsed = 145;  // the time field beside "Is_P"
constexpr int Iconic = 146;
constexpr int IconicDigit = 147;
constexpr int SignaturePaste = 148;
constexpr int SignatureCopy = 149;
constexpr int SignatureClear = 150;
constexpr int Signature = 134;
constexpr int TesterProgress = 151;  // percent and time left of a hidden tester run

// Calculator operation buttons.
constexpr int Add = 69, Subtract = 70, Divide = 71, Multiply = 72;
constexpr int Power = 76, Root = 77, NextP = 78, PrevP = 79;
constexpr int Mod = 84, Gcd = 85, ShiftLeft = 86, ShiftRight = 87;
constexpr int Reverse = 92, TimesTen = 93, PlusUI = 95;
constexpr int GcfM = 99, Concat = 101, Lcm = 102, RootRem = 113, LogX = 131;

// Captions and frames: never read or written, named for the control table.
constexpr int GenerationFrame = 1;
constexpr int FinalDigitsCaption = 2;
constexpr int StartDigitsCaption = 7;
constexpr int TotalDigitsCaption = 18;
constexpr int WorkDirectoryCaption = 26;
constexpr int BlockSizeCaption = 30;
constexpr int SegmentCaption = 32;
constexpr int OtherFunctionsFrame = 38;
constexpr int YourNumberCaption = 40;
constexpr int ParametersCaption = 43;
constexpr int TotCaption = 52;
constexpr int Div1Caption = 57;
constexpr int PrpCaption = 60;
constexpr int SegmentStartCaption = 61;
constexpr int SegmentEndCaption = 63;
constexpr int CalculatorFrame = 67;
constexpr int DigitCountCaption = 89;
constexpr int UpdatesCaption = 115;
constexpr int CalcWithCaption = 121;
constexpr int OperationsFrame = 122;
constexpr int SignatureCaption = 133;
constexpr int Div2Caption = 139;
constexpr int Div3Caption = 140;
constexpr int NextPrevCaption = 141;
constexpr int QtyCaption = 142;
constexpr int IsPCaption = 144;

}  // namespace ui::ControlId
