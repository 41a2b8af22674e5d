#include "FuzzBytes.h"
#include "FuzzCheck.h"
#include "commands/DeckChannel.h"

// A line on the deck's socket, read as the running deck reads a request and as the companion reads the
// deck's answer. What decodes must come back unchanged from the line the other side would write for it.
namespace {

template <typename Message, typename Decode>
void checkRoundTrip(const std::optional<Message>& message, Decode decode)
{
    if (!message)
        return;
    const auto again = decode(DeckChannel::encode(*message));
    if (!again || *again != *message) {
        fuzzFail("a decoded message does not survive being sent again");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray line = fuzzBytes(data, size);
    checkRoundTrip(DeckChannel::decodeRequest(line), &DeckChannel::decodeRequest);
    checkRoundTrip(DeckChannel::decodeResponse(line), &DeckChannel::decodeResponse);
    return 0;
}
