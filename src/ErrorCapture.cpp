#include "ErrorCapture.hpp"

#include <SFML/System/Err.hpp>

#include <iostream>
#include <streambuf>

namespace
{
thread_local std::string* capturing = nullptr;

// Put between a stream and where it writes: passes everything on, except what a capturing thread writes.
class Route : public std::streambuf
{
public:
    // Takes the stream's place unless it already has it.
    void takeOver(std::ostream& stream)
    {
        if (stream.rdbuf() == this)
            return;
        before = stream.rdbuf();
        stream.rdbuf(this);
    }

protected:
    int_type overflow(int_type character) override
    {
        if (traits_type::eq_int_type(character, traits_type::eof()))
            return traits_type::not_eof(character);
        if (capturing != nullptr)
        {
            capturing->push_back(traits_type::to_char_type(character));
            return character;
        }
        return before->sputc(traits_type::to_char_type(character));
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override
    {
        if (capturing != nullptr)
        {
            capturing->append(text, static_cast<std::size_t>(count));
            return count;
        }
        return before->sputn(text, count);
    }
    int sync() override { return capturing != nullptr ? 0 : before->pubsync(); }

private:
    std::streambuf* before = nullptr;
};

// Never destroyed: the streams write through them until the process has ended.
Route& gameRoute = *new Route;
Route& libraryRoute = *new Route;
} // namespace

void ErrorCapture::routeStreams()
{
    gameRoute.takeOver(std::cerr);
    libraryRoute.takeOver(sf::err());
}

ErrorCapture::ErrorCapture(std::string& into) : outer(capturing)
{
    routeStreams();
    capturing = &into;
}

ErrorCapture::~ErrorCapture()
{
    capturing = outer;
}
