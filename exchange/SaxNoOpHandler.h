#pragma once

#include <orcus/sax_parser.hpp>

#include <string_view>

// A handler for the workbook library's XML parser that ignores every event; readers derive from it
// and hide the events they need.
struct SSaxNoOpHandler
{
    void doctype(const orcus::sax::doctype_declaration&) {}
    void start_declaration(std::string_view) {}
    void end_declaration(std::string_view) {}
    void start_element(const orcus::sax::parser_element&) {}
    void end_element(const orcus::sax::parser_element&) {}
    void characters(std::string_view, bool) {}
    void attribute(const orcus::sax::parser_attribute&) {}
};
