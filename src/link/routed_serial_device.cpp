#include "link/routed_serial_device.h"

namespace brennix {

namespace {

bool IsSimulatedPortName(std::string_view name) {
    return name == RoutedSerialDevice::kSimulatedPortName;
}

}  // namespace

RoutedSerialDevice::RoutedSerialDevice(SerialDevice& real, SerialDevice& simulated)
    : real_(real), routes_{{&IsSimulatedPortName, &simulated}}, current_(&real) {}

void RoutedSerialDevice::AddRoute(NameTest test, SerialDevice& device) {
    routes_.push_back({test, &device});
}

bool RoutedSerialDevice::Open(const std::string& name) {
    Close();
    current_ = &DeviceFor(name);
    return current_->Open(name);
}

void RoutedSerialDevice::Close() {
    if (real_.IsOpen()) {
        real_.Close();
    }
    for (const Route& route : routes_) {
        if (route.device->IsOpen()) {
            route.device->Close();
        }
    }
}

bool RoutedSerialDevice::IsOpen() const {
    return current_->IsOpen();
}

bool RoutedSerialDevice::GetState(SerialState& state) {
    return current_->GetState(state);
}

bool RoutedSerialDevice::SetState(const SerialState& state) {
    return current_->SetState(state);
}

bool RoutedSerialDevice::SetQueueSizes(size_t receiveBytes, size_t transmitBytes) {
    return current_->SetQueueSizes(receiveBytes, transmitBytes);
}

bool RoutedSerialDevice::BytesWaiting(uint32_t& count) {
    return current_->BytesWaiting(count);
}

bool RoutedSerialDevice::BytesPending(uint32_t& count) {
    return current_->BytesPending(count);
}

bool RoutedSerialDevice::WaitForInput(uint32_t ms) {
    return current_->WaitForInput(ms);
}

bool RoutedSerialDevice::Read(uint8_t* buffer, size_t count, size_t& done) {
    return current_->Read(buffer, count, done);
}

bool RoutedSerialDevice::Write(const uint8_t* data, size_t count, size_t& done) {
    return current_->Write(data, count, done);
}

bool RoutedSerialDevice::Purge(uint32_t flags) {
    return current_->Purge(flags);
}

bool RoutedSerialDevice::SetBreak(bool on) {
    return current_->SetBreak(on);
}

PortCapabilities RoutedSerialDevice::Capabilities() const {
    return current_->Capabilities();
}

// Asking about another port never redirects the calls of the port that is open.
bool RoutedSerialDevice::Exists(const std::string& name) {
    SerialDevice& device = DeviceFor(name);
    const bool exists = device.Exists(name);
    if (!IsOpen()) {
        current_ = &device;
    }
    return exists;
}

int RoutedSerialDevice::LastError() const {
    return current_->LastError();
}

std::string RoutedSerialDevice::LastErrorMessage() const {
    return current_->LastErrorMessage();
}

SerialDevice& RoutedSerialDevice::DeviceFor(const std::string& name) {
    for (const Route& route : routes_) {
        if (route.test(name)) {
            return *route.device;
        }
    }
    return real_;
}

}  // namespace brennix
