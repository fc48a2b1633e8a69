#pragma once

// The web and e-mail addresses the program opens or shows.
namespace addresses {
inline constexpr const char* Sponsor = "https://www.example.com/";
inline constexpr const char* SponsorLabel = "www.example.com";
inline constexpr const char* Maker = "https://maker.example.com/";
inline constexpr const char* MakerLabel = "maker.example.com";
inline constexpr const char* ProgrammerEmail = "programmer@example.com";
inline constexpr const char* ProgrammerWeb = "https://maker.example.com/realtopia/";
inline constexpr const char* Relay = "https://relay.example.com";
inline constexpr const char* RelayPath = "/realtopi/email.asp";
inline constexpr const char* SampleOwnAddress = "you@example.com";
inline constexpr const char* SampleFriendAddress = "friend@example.com";
}  // namespace addresses
