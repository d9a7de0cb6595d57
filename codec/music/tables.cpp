#include "codec/music/tables.h"

namespace zv::qv160mx {

const int32_t kScaleTable[kScaleCount] = {
    5,    20,   45,   80,   109,  128,  150,  176,  207,  243,  285,
    335,  393,  462,  543,  637,  748,  879,  1032, 1211, 1422, 1670,
    1962, 2304, 2705, 3177, 3731, 4381, 5145, 6042, 7095, 9000};

const int32_t kDecoderScaleTable[kScaleCount] = {
    1,    20,   45,   80,   109,  128,  150,  176,  207,  243,  285,
    335,  393,  462,  543,  637,  748,  879,  1032, 1211, 1422, 1670,
    1962, 2304, 2705, 3177, 3731, 4381, 5145, 6042, 7095, 9000};

const int32_t kBandMaxLevels[kBandCount] = {9, 9, 5, 3, 3, 3, 3, 3};

const int32_t kAllocSteps[3] = {625, 1250, 2500};

namespace {

const int16_t kDecision3[] = {-2500, 2500};
const int16_t kDecision5[] = {-5802, -1160, 1160, 5802};
const int16_t kDecision7[] = {-5802, -3481, -1160, 1160, 3481, 5802};
const int16_t kDecision9[] = {-6451, -4607, -2764, -921, 921, 2764, 4607, 6451};
const int16_t kDecision11[] = {-7004, -5447, -3891, -2335, -778,
                               778,   2335,  3891,  5447,  7004};

const int16_t kRecon3[] = {-3500, 0, 3500};
const int16_t kRecon5[] = {-6963, -2321, 0, 2321, 6963};
const int16_t kRecon7[] = {-6963, -4642, -2321, 0, 2321, 4642, 6963};
const int16_t kRecon9[] = {-7373, -5529, -3686, -1843, 0, 1843, 3686, 5529, 7373};

}  // namespace

int codewordBitsFor(int levels) {
  switch (levels) {
    case 2: return 8;
    case 3: return 13;
    case 5: return 19;
    case 7: return 23;
    case 9: return 26;
    case 11: return 28;
    default: return 0;
  }
}

const int16_t* decisionThresholdsFor(int levels) {
  switch (levels) {
    case 3: return kDecision3;
    case 5: return kDecision5;
    case 7: return kDecision7;
    case 9: return kDecision9;
    case 11: return kDecision11;
    default: return nullptr;
  }
}

const int16_t* reconstructionLevelsFor(int levels) {
  switch (levels) {
    case 3: return kRecon3;
    case 5: return kRecon5;
    case 7: return kRecon7;
    case 9: return kRecon9;
    default: return nullptr;
  }
}

}  // namespace zv::qv160mx
