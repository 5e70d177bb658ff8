#include "flow/filemessages.h"

#include "storage/fileio.h"

#include <string_view>

namespace tavlon {
namespace {

std::string_view OperationText(FileOperation operation) {
    switch (operation) {
    case FileOperation::ReadFile:
        return "прочитать файл";
    case FileOperation::WriteFile:
        return "записать файл";
    case FileOperation::CreateFolder:
        return "создать папку";
    case FileOperation::ReadFolder:
        return "прочитать папку";
    }
    return "прочитать файл";
}

} // namespace

std::string FileErrorText(const FileError& error) {
    std::string text = "Не удалось ";
    text += OperationText(error.operation);
    text += " «";
    text += error.path;
    text += "»: ";
    text += ReasonText(error.code);
    text += '.';
    return text;
}

std::string ReasonText(std::error_code ec) {
    struct Known {
        std::errc code;
        std::string_view text;
    };
    static constexpr Known kKnown[] = {
        {std::errc::no_such_file_or_directory, "файл или папка не найдены"},
        {std::errc::permission_denied, "доступ запрещён"},
        {std::errc::operation_not_permitted, "операция не разрешена"},
        {std::errc::no_space_on_device, "на диске нет места"},
        {std::errc::file_too_large, "файл слишком велик"},
        {std::errc::read_only_file_system, "диск доступен только для чтения"},
        {std::errc::not_a_directory, "часть пути не является папкой"},
        {std::errc::is_a_directory, "это папка, а не файл"},
        {std::errc::filename_too_long, "слишком длинное имя файла"},
        {std::errc::invalid_argument, "недопустимое имя файла"},
        {std::errc::io_error, "ошибка ввода-вывода"},
        {std::errc::too_many_files_open, "открыто слишком много файлов"},
    };
    const std::error_condition condition = ec.default_error_condition();
    for (const Known& k : kKnown)
        if (condition == k.code)
            return std::string(k.text);
    return ec.message();
}

std::string DamagedFileText(const std::string& path) {
    return "Файл «" + FileNameOf(path) + "» не является файлом игры Tavlon или повреждён.";
}

} // namespace tavlon
