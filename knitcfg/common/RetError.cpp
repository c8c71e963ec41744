#include "knitcfg/common/RetError.h"

namespace knitcfg {

const char* RetErrorText(int code) {
    switch (code) {
        case 0: return "success";
        case 1: return "an entry of another kind, or a pattern line without a comma";
        case 2: return "the Protection section has no ConfigProtected key";
        case 3: return "the Header section is missing or empty";
        case 4: return "the header has no MachineType";
        case 5: return "the header Version is missing or not two numbers around a point";
        case 6: return "a Description is missing (header or plane section)";
        case 7:
            return "a color section has no keys, or a plane section's name has no positive number";
        case 8: return "NumberOfLines is missing or not positive";
        case 9: return "StartBlock is missing or negative";
        case 10: return "a block entry is missing or empty";
        case 11: return "the file has no section at all (colors)";
        case 12: return "the plane was not added";
        case 15: return "a color holds an actuator of no color kind";
        case 16:
            return "a drum color entry, or a finger, splitter, cam or speeder line entry, is empty "
                   "or not taken";
        case 17: return "a plane section has a negative Priority";
        case 18: return "the file has no section at all, or the line was not placed";
        case 19: return "a finger color entry is empty or not taken";
        case 20: return "a splitter color entry is empty or not taken";
        case 21: return "a cam color entry is empty or not taken";
        case 22: return "a stepping-motor color entry is empty or not taken";
        case 23: return "a design stepping-motor color entry is empty or not taken";
        case 24:
            return "a speeder color entry is empty or not taken, or a color section ends in a key "
                   "that is no actuator";
        case 25: return "a line section has no positive Plane";
        case 26: return "a line section has no Help text";
        case 27: return "a line section has no keys, or a line holds an actuator of no line kind";
        case 28: return "a drum line entry is empty or not taken";
        case 29: return "a finger line entry is empty or not taken";
        case 30: return "a splitter line entry is empty or not taken";
        case 31: return "a stepping-motor line entry is empty or not taken";
        case 32: return "a design stepping-motor line entry is empty";
        case 33: return "a speeder line entry is empty or not taken";
        case 34: return "a cam line entry is empty or not taken";
        case 37: return "a shaved-design line is malformed";
        case 38: return "writing a color or line section failed";
        case 40: return "writing the header Description failed";
        case 41: return "writing a block entry failed";
        case 42: return "writing a plane entry failed";
        case 45: return "writing a drum entry failed";
        case 46: return "writing a finger entry failed";
        case 47: return "writing a splitter entry failed";
        case 48: return "writing a cam entry failed";
        case 49: return "writing a stepping-motor entry failed";
        case 50: return "writing a design stepping-motor color entry failed";
        case 51: return "writing a speeder entry failed";
        case 52: return "writing the header MachineType failed";
        case 53: return "writing the header Version failed";
        case 54: return "writing the header NumberOfLines failed";
        case 55: return "writing the header StartBlock failed";
        case 56: return "writing LastDevelop or a generated-design line failed";
        case 57: return "writing a pattern-object line failed";
        case 58: return "writing a shaved-design line failed";
        case 59: return "writing ConfigProtected failed";
        case 60: return "writing the header SourceCfg failed";
        case 61: return "writing the header SourceSdi failed";
        case 62: return "the file is missing, unreadable or empty";
        case 63: return "replacing the target file with the saved copy failed";
        default: return "unknown result code";
    }
}

}  // namespace knitcfg
