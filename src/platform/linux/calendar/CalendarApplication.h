#pragma once

class Workspace;

// The desktop's calendar application.
namespace CalendarApplication {

// Opens the first calendar application that is installed; logs one line when there is none.
void open(Workspace& workspace);

} // namespace CalendarApplication
