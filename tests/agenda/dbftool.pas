{ dbftool: FreePascal's TDbf as an independent reader and writer of level 7 tables, for the agenda
  table's cross-implementation test.
    dbftool dump TABLE.dbf    every row (L live, D deleted) and every field: integers in decimal,
                              texts and memos as hex bytes, NULL for blanks
    dbftool write TABLE.dbf   a new level 7 table with the agenda's ten fields and six rows, notes
                              of several memo blocks, one row deleted
    dbftool pack TABLE.dbf    TDbf's own pack of the table }
program dbftool;
{$mode objfpc}{$H+}
uses SysUtils, Classes, DB, dbf;

function Hex(const s: RawByteString): string;
var i: Integer;
begin
  Result := '';
  for i := 1 to Length(s) do
    Result := Result + IntToHex(Ord(s[i]), 2);
end;

var
  T: TDbf;
  i, k: Integer;
  F: TField;
  mode: string;
  s: RawByteString;
begin
  mode := ParamStr(1);
  T := TDbf.Create(nil);
  T.FilePathFull := ExtractFilePath(ExpandFileName(ParamStr(2)));
  T.TableName := ExtractFileName(ParamStr(2));
  if mode = 'dump' then
  begin
    T.ReadOnly := True;
    T.ShowDeleted := True;
    T.Open;
    WriteLn('LEVEL ', T.TableLevel, ' FIELDS ', T.FieldCount);
    T.First;
    while not T.EOF do
    begin
      if T.IsDeleted then Write('D') else Write('L');
      for i := 0 to T.FieldCount - 1 do
      begin
        F := T.Fields[i];
        Write(#9, F.FieldName, '=');
        if F.IsNull then Write('NULL')
        else if F.DataType in [ftInteger, ftLargeint, ftAutoInc, ftSmallint] then Write(F.AsInteger)
        else begin s := F.AsString; Write(Hex(s)); end;
      end;
      WriteLn;
      T.Next;
    end;
    T.Close;
  end
  else if mode = 'write' then
  begin
    T.TableLevel := 7;
    with T.FieldDefs do
    begin
      Add('recno', ftInteger, 0, False);
      Add('dbver', ftInteger, 0, False);
      Add('figurac', ftString, 80, False);
      Add('domicil', ftString, 80, False);
      Add('telefon', ftString, 30, False);
      Add('localid', ftString, 40, False);
      Add('provinc', ftString, 40, False);
      Add('web', ftString, 60, False);
      Add('mail', ftString, 60, False);
      Add('note', ftMemo, 0, False);
    end;
    T.CreateTable;
    T.Exclusive := True;
    T.Open;
    for k := 1 to 6 do
    begin
      T.Append;
      if k <> 4 then T.FieldByName('recno').AsInteger := k * 1000 - 2500;
      T.FieldByName('dbver').AsInteger := 905021010;
      T.FieldByName('figurac').AsString := 'NOMBRE ' + IntToStr(k) + ' ' + Chr(209) + Chr(233);
      T.FieldByName('domicil').AsString := 'CALLE ' + IntToStr(k * 7);
      if k mod 2 = 1 then T.FieldByName('mail').AsString := 'c' + IntToStr(k) + '@ejemplo.com.ar';
      if k <> 2 then
        T.FieldByName('note').AsString := StringOfChar(Chr(64 + k), k * 250) + #13#10 + 'fin ' + IntToStr(k);
      T.Post;
    end;
    T.First; T.Next; T.Next;
    T.Delete;
    T.Close;
  end
  else if mode = 'pack' then
  begin
    T.Exclusive := True;
    T.Open;
    T.PackTable;
    T.Close;
  end;
  T.Free;
end.
