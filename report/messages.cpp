#include "report/messages.h"

namespace {
// セルの一辺の長さは、
constexpr const char* kCellEdgeLead =
    "\x83\x5a\x83\x8b\x82\xcc\x88\xea\x95\xd3\x82\xcc\x92\xb7\x82\xb3\x82\xcd\x81\x41";
// " です。"
constexpr const char* kCellEdgeTail = " \x82\xc5\x82\xb7\x81\x42";
// 番目の原子位置が重なったので再計算します。
constexpr const char* kOverlap =
    "\x94\xd4\x96\xda\x82\xcc\x8c\xb4\x8e\x71\x88\xca\x92\x75\x82\xaa\x8f\x64\x82\xc8\x82\xc1"
    "\x82\xbd\x82\xcc\x82\xc5\x8d\xc4\x8c\x76\x8e\x5a\x82\xb5\x82\xdc\x82\xb7\x81\x42";
// 個の原子のランダム配置が完了しました。
constexpr const char* kPlacementDone =
    "\x8c\xc2\x82\xcc\x8c\xb4\x8e\x71\x82\xcc\x83\x89\x83\x93\x83\x5f\x83\x80\x94\x7a\x92\x75"
    "\x82\xaa\x8a\xae\x97\xb9\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42";
// 原子の初期速度を設定しました。
constexpr const char* kVelocity =
    "\x8c\xb4\x8e\x71\x82\xcc\x8f\x89\x8a\xfa\x91\xac\x93\x78\x82\xf0\x90\xdd\x92\xe8\x82\xb5"
    "\x82\xdc\x82\xb5\x82\xbd\x81\x42";
// MD計算が全て終了しました。
constexpr const char* kCompletion =
    "MD\x8c\x76\x8e\x5a\x82\xaa\x91\x53\x82\xc4\x8f\x49\x97\xb9\x82\xb5\x82\xdc\x82\xb5\x82\xbd"
    "\x81\x42";
}  // namespace

void writeCellEdgeLine(LineSink& console, double edge) {
    console << kCellEdgeLead << edge << kCellEdgeTail;
    console.endLine();
}

void writeOverlapLine(LineSink& console, int atom) {
    console << atom << kOverlap;
    console.endLine();
}

void writePlacementDoneLine(LineSink& console, int atomCount) {
    console << atomCount << kPlacementDone;
    console.endLine();
}

void writeVelocityLine(LineSink& console) {
    console << kVelocity;
    console.endLine();
}

void writeCompletionLine(LineSink& console) {
    console << kCompletion;
    console.endLine();
}
