#pragma once
// GStreamer ranks FFmpeg's MP3 decoders and mpg123's alike and then takes the first by name,
// FFmpeg's: its libraries and everything they link (filters, speech voices, encoders of every
// kind) add about 30 MB to a process that only plays its background music. mpg123 decodes the
// same streams. A reader's own GST_PLUGIN_FEATURE_RANK entries come later and win.
namespace vitrina {

// Before the first player exists.
void PreferLightDecoders();

}  // namespace vitrina
