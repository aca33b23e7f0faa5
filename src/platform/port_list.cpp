#include "platform/port_list.h"

#include <libserialport.h>

namespace brennix {

namespace {

std::string TextOrEmpty(const char* text) {
    return text ? text : "";
}

std::string DescribePort(sp_port* port) {
    if (sp_get_port_transport(port) == SP_TRANSPORT_USB) {
        const std::string product = TextOrEmpty(sp_get_port_usb_product(port));
        const std::string maker = TextOrEmpty(sp_get_port_usb_manufacturer(port));
        if (!product.empty()) {
            return maker.empty() ? product : maker + " " + product;
        }
    }
    return TextOrEmpty(sp_get_port_description(port));
}

}  // namespace

std::vector<PortInfo> ListSerialPorts() {
    std::vector<PortInfo> ports;
    sp_port** list = nullptr;
    if (sp_list_ports(&list) != SP_OK) {
        return ports;
    }
    for (sp_port** entry = list; *entry != nullptr; ++entry) {
        ports.push_back({TextOrEmpty(sp_get_port_name(*entry)), DescribePort(*entry)});
    }
    sp_free_port_list(list);
    return ports;
}

}  // namespace brennix
