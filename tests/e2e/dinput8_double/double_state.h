// What the test double of dinput8.dll knows about the outside world: its
// script, the command file that the end-to-end driver appends to, the
// simulated devices' physical state and the call log.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dd {

enum class Kind { Keyboard, Mouse, Controller };

struct Event {
    std::uint32_t offset;
    std::uint32_t data;
};

// The physical side of one simulated device, shared by every device object
// created for it. Events reach the device's queue only while acquired.
struct Device {
    std::string name;  // "keyboard", "mouse", "controller0", ...
    Kind kind = Kind::Keyboard;
    std::uint8_t keys[256] = {};
    std::uint8_t buttons[32] = {};
    std::int32_t axisX = 0;
    std::int32_t axisY = 0;
    // Buffered events of the live device object (if it is acquired).
    std::vector<Event> queue;
    std::uint32_t bufferSize = 0;
    bool overflow = false;
    bool acquired = false;
    bool dataFormatSet = false;
    // An unplugged controller's record stays with the device objects made
    // before, which stay dead; plugging it in again starts a new record.
    bool unplugged = false;
    bool lostWhileAcquired = false;  // its objects then report the loss once
};

struct Failure {
    std::string target;     // device name or "directinput"
    std::string operation;  // method name, optionally "SetProperty:RANGE"
    std::int32_t code = 0;
    int remaining = -1;  // -1: every call
};

void Initialise();
void Log(const std::string& line);
bool LogReads();
std::string Hex(std::uint32_t value);

// Pulls due timed events and new command-file lines into the devices.
void Pump();
bool Background();

// The code a scripted failure gives this call, or 0.
std::int32_t FailureFor(const std::string& target, const std::string& operation);

// Controller indices given so far, attached or not; attach gives the next.
int ControllerSlots();
bool ControllerAttached(int n);
std::string ProductName(int n);
Device& DeviceNamed(const std::string& name);
// The window of the last successful SetCooperativeLevel: where a plugged or
// unplugged controller is announced.
void NoteWindow(void* window);
std::uint32_t Sequence();

}  // namespace dd
