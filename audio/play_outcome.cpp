#include "audio/play_outcome.h"

namespace vostrel::audio {

PromptEnd promptEndFor(Result result) {
    switch (result) {
    case Result::FileNotFound: return PromptEnd::FileMissing;
    case Result::AccessDenied:
    case Result::InvalidName:
    case Result::OpenFailed:
    case Result::TooManyOpenFiles:
    case Result::SeekFailed: return PromptEnd::FileUnreadable;
    case Result::NoFrameSync:
    case Result::DecoderInitFailed:
    case Result::EndOfStream: return PromptEnd::NoAudioStream;
    case Result::DamagedFrame: return PromptEnd::DamagedFrame;
    case Result::DeviceFailed: return PromptEnd::DeviceFailed;
    default: return PromptEnd::EngineFailed;
    }
}

bool endedWell(PromptEnd end) {
    switch (end) {
    case PromptEnd::Sounding:
    case PromptEnd::PlayedToEnd:
    case PromptEnd::CutByPause:
    case PromptEnd::CutByNextPrompt:
    case PromptEnd::CutByProgramEnd: return true;
    default: return false;
    }
}

std::string_view promptEndText(PromptEnd end) {
    switch (end) {
    case PromptEnd::Sounding: return "正在播放";
    case PromptEnd::PlayedToEnd: return "已播放";
    case PromptEnd::CutByPause: return "暂停时中断";
    case PromptEnd::CutByNextPrompt: return "被下一条提示打断";
    case PromptEnd::CutByProgramEnd: return "程序退出时中断";
    case PromptEnd::DeviceOpenFailed: return "无法打开声音设备";
    case PromptEnd::DeviceFailed: return "声音设备出错";
    case PromptEnd::FileMissing: return "语音文件缺失";
    case PromptEnd::FileUnreadable: return "语音文件无法读取";
    case PromptEnd::NoAudioStream: return "语音文件里没有声音";
    case PromptEnd::DamagedFrame: return "语音文件损坏，播放中断";
    case PromptEnd::EngineFailed: return "播放出错";
    case PromptEnd::NotPlayed: return "没有播放";
    }
    return "播放出错";
}

} // namespace vostrel::audio
