{ Makes Free Pascal's chmcmd and chmls speak UTF-8 on Windows, as they do on Linux: strings
  convert to and from UTF-8 (not the ANSI code page), files open by UTF-8 names, the output
  is written in UTF-8, and the command line's arguments come from its wide form in UTF-8. Loaded before the programs' own
  units (fpc -Fa), so that its initialization runs first. Without it a project or a file named
  in letters the ANSI code page lacks cannot be found, and names outside ASCII are garbled. }
unit utf8rtl;

interface

implementation

uses windows;

function CommandLineToArgvW(commandLine: PWideChar; var count: longint): PPWideChar; stdcall;
  external 'shell32.dll' name 'CommandLineToArgvW';

var
  wideArguments: PPWideChar;
  count, i: longint;
  arguments: array of RawByteString;
  table: array of PAnsiChar;
  systemArgc: longint;
  systemArgv: PPAnsiChar;

initialization
  SetMultiByteConversionCodePage(CP_UTF8);
  SetMultiByteRTLFileSystemCodePage(CP_UTF8);
  SetMultiByteFileSystemCodePage(CP_UTF8);
  SetTextCodePage(Output, CP_UTF8);
  SetTextCodePage(StdErr, CP_UTF8);
  wideArguments := CommandLineToArgvW(GetCommandLineW, count);
  if wideArguments <> nil then
  begin
    SetLength(arguments, count);
    SetLength(table, count + 1);
    for i := 0 to count - 1 do
    begin
      arguments[i] := UTF8Encode(UnicodeString(wideArguments[i]));
      table[i] := PAnsiChar(arguments[i]);
    end;
    table[count] := nil;
    systemArgc := argc;
    systemArgv := argv;
    argc := count;
    argv := @table[0];
    LocalFree(HLOCAL(wideArguments));
  end;

finalization
  { The run time frees its own table at exit. }
  if systemArgv <> nil then
  begin
    argc := systemArgc;
    argv := systemArgv;
  end;
end.
