// The scenarios of the UI driver, each run with a program of its own, and
// the checks one window's scenarios borrow from another's.
#pragma once

struct Lumora;

// The day window: a first start, settings of another version, a prepared registry.
void ScenarioFresh(Lumora& app);
void ScenarioForeignVersion(Lumora& app);
void ScenarioPrepared(Lumora& app);
// The small dialog: its help and date modes on a running day window, the own
// place it keeps, and the registry switch.
void CheckDialogs(Lumora& app);
void ScenarioCoordinates(Lumora& app);
void ScenarioRegistryUse(Lumora& app);
// The month window, the switches between the main windows, and a restart
// right after 退出.
void ScenarioMonthWindow(Lumora& app);
void ScenarioRestartAfterExit(Lumora& app);
// The tools: conversion, yearly tables and condition queries.
void ScenarioConverter(Lumora& app);
// The memorial editor: its three modes against the registry, without the
// registry, and a save cut short after its writes.
void ScenarioEditor(Lumora& app);
void ScenarioEditorWithoutRegistry(Lumora& app);
void ScenarioEditorCutShort(Lumora& app);
void ScenarioTables(Lumora& app);
void ScenarioQueries(Lumora& app);
// Values of the wrong type, too long, cut or damaged, and many of them.
void ScenarioDamagedRegistry(Lumora& app);
